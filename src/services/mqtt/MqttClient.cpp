#include "mqtt/MqttClient.h"

#include "mqtt/MqttConfig.h"

#include <mosquitto.h>

#include <algorithm>

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr unsigned kFirstRetrySeconds = 1;
constexpr unsigned kLongestRetrySeconds = 30;
constexpr unsigned kInflight = 16;

void initialiseLibraryOnce()
{
    static const int once = mosquitto_lib_init();
    (void)once;
}

QString reasonOf(int code)
{
    return QString::fromLocal8Bit(mosquitto_strerror(code));
}

} // namespace

MqttClient::MqttClient(const MqttConfig& config, const std::string& clientId, const std::string& willTopic,
    const std::string& willPayload, QObject* parent)
    : QObject(parent)
    , host_(config.host)
    , port_(config.portOrDefault())
{
    initialiseLibraryOnce();
    connect(this, &MqttClient::arrived, this, &MqttClient::received, Qt::QueuedConnection);
    connect(this, &MqttClient::answered, this, &MqttClient::handleConnect, Qt::QueuedConnection);
    connect(this, &MqttClient::closed, this, &MqttClient::handleDisconnect, Qt::QueuedConnection);
    connect(this, &MqttClient::sent, this, &MqttClient::handleSent, Qt::QueuedConnection);
    handle_ = mosquitto_new(clientId.c_str(), true, this);
    if (handle_ == nullptr) {
        error_ = "cannot make an MQTT client";
        return;
    }
    if (!configure(config, willTopic, willPayload)) {
        mosquitto_destroy(handle_);
        handle_ = nullptr;
    }
}

MqttClient::~MqttClient()
{
    if (handle_ == nullptr) {
        return;
    }
    if (looping_) {
        mosquitto_disconnect(handle_);
        // A thread that waits to try again is cancelled; one that is connected sends what is queued and the goodbye.
        mosquitto_loop_stop(handle_, !connected_);
    }
    mosquitto_destroy(handle_);
}

bool MqttClient::configure(const MqttConfig& config, const std::string& willTopic, const std::string& willPayload)
{
    mosquitto_connect_callback_set(handle_, &MqttClient::onConnect);
    mosquitto_disconnect_callback_set(handle_, &MqttClient::onDisconnect);
    mosquitto_publish_callback_set(handle_, &MqttClient::onPublish);
    mosquitto_message_callback_set(handle_, &MqttClient::onMessage);
    mosquitto_reconnect_delay_set(handle_, kFirstRetrySeconds, kLongestRetrySeconds, true);
    mosquitto_max_inflight_messages_set(handle_, kInflight);
    int code = mosquitto_will_set(
        handle_, willTopic.c_str(), static_cast<int>(willPayload.size()), willPayload.data(), 1, true);
    if (code == MOSQ_ERR_SUCCESS && !config.user.empty()) {
        code = mosquitto_username_pw_set(
            handle_, config.user.c_str(), config.password.empty() ? nullptr : config.password.c_str());
    }
    if (code == MOSQ_ERR_SUCCESS && config.tls) {
        code = mosquitto_tls_set(handle_, config.caFile.empty() ? nullptr : config.caFile.c_str(),
            config.caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
    }
    if (code != MOSQ_ERR_SUCCESS) {
        error_ = "cannot set up the MQTT client: " + reasonOf(code).toStdString();
    }
    return code == MOSQ_ERR_SUCCESS;
}

bool MqttClient::start()
{
    if (handle_ == nullptr) {
        return false;
    }
    const int code = mosquitto_connect_async(handle_, host_.c_str(), port_, kKeepAliveSeconds);
    if (code == MOSQ_ERR_INVAL || code == MOSQ_ERR_EAI) {
        error_ = "cannot reach the broker " + host_ + ": " + reasonOf(code).toStdString();
        return false;
    }
    const int loop = mosquitto_loop_start(handle_);
    if (loop != MOSQ_ERR_SUCCESS) {
        error_ = "cannot start the MQTT thread: " + reasonOf(loop).toStdString();
        return false;
    }
    looping_ = true;
    if (code != MOSQ_ERR_SUCCESS) {
        tell(reasonOf(code));
    }
    return true;
}

bool MqttClient::publish(const std::string& topic, const std::string& payload, bool retain, int qos)
{
    if (!connected_ || unsent_ >= kMaxUnsent) {
        return false;
    }
    const int code = mosquitto_publish(
        handle_, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), qos, retain);
    if (code != MOSQ_ERR_SUCCESS) {
        return false;
    }
    ++unsent_;
    return true;
}

void MqttClient::subscribe(const std::string& topic)
{
    if (connected_) {
        mosquitto_subscribe(handle_, nullptr, topic.c_str(), 1);
    }
}

void MqttClient::onConnect(mosquitto* /*handle*/, void* self, int code)
{
    emit static_cast<MqttClient*>(self)->answered(code, QPrivateSignal());
}

void MqttClient::onDisconnect(mosquitto* /*handle*/, void* self, int code)
{
    emit static_cast<MqttClient*>(self)->closed(code, QPrivateSignal());
}

void MqttClient::onPublish(mosquitto* /*handle*/, void* self, int /*messageId*/)
{
    emit static_cast<MqttClient*>(self)->sent(QPrivateSignal());
}

void MqttClient::onMessage(mosquitto* /*handle*/, void* self, const mosquitto_message* message)
{
    auto* client = static_cast<MqttClient*>(self);
    const bool oversized = message->payloadlen > kMaxPayload;
    emit client->arrived(QString::fromUtf8(message->topic),
        oversized ? QByteArray() : QByteArray(static_cast<const char*>(message->payload), message->payloadlen),
        oversized, QPrivateSignal());
}

void MqttClient::handleConnect(int code)
{
    if (code != 0) {
        tell(QString::fromLocal8Bit(mosquitto_connack_string(code)));
        return;
    }
    connected_ = true;
    told_ = false;
    unsent_ = 0;
    emit connected();
}

void MqttClient::handleDisconnect(int code)
{
    connected_ = false;
    if (code != 0) {
        tell(QStringLiteral("the connection was lost (%1)").arg(reasonOf(code)));
    }
}

void MqttClient::handleSent()
{
    const bool wasFull = unsent_ >= kMaxUnsent;
    unsent_ = std::max(0, unsent_ - 1);
    if (wasFull) {
        emit drained();
    }
}

void MqttClient::tell(const QString& why)
{
    if (!told_) {
        told_ = true;
        QString reason = why;
        if (reason.endsWith(QLatin1Char('.'))) {
            reason.chop(1);
        }
        emit trouble(
            QStringLiteral("broker %1:%2: %3; trying again").arg(QString::fromStdString(host_)).arg(port_).arg(reason));
    }
}
