#include "MqttPeer.h"

#include "RunTrace.h"
#include "mqtt/MqttConfig.h"

#include <QJsonDocument>

namespace {

constexpr std::size_t kErrorsKept = 200;

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

MqttPeer::MqttPeer(quint16 port)
{
    MqttConfig config;
    config.enabled = true;
    config.host = "127.0.0.1";
    config.port = port;
    client_ = std::make_unique<MqttClient>(config, "invariant-run-peer", "invariant-run/peer", "gone");
    connect(client_.get(), &MqttClient::connected, this, [this] { client_->subscribe("tendrel/#"); });
    connect(client_.get(), &MqttClient::received, this,
        [this](const QString& topic, const QByteArray& payload, bool) { onReceived(topic, payload); });
}

MqttPeer::~MqttPeer() = default;

bool MqttPeer::start()
{
    return client_->start();
}

bool MqttPeer::publish(const std::string& payload, std::size_t action)
{
    if (setTopic_.empty() || !client_->publish(setTopic_, payload, false, 1)) {
        return false;
    }
    if (sent) {
        sent({Clock::now(), payload, action});
    }
    return true;
}

void MqttPeer::onReceived(const QString& topic, const QByteArray& payload)
{
    Message message{
        Clock::now(), topic.toStdString(), QJsonDocument::fromJson(payload).object(), payload.toStdString()};
    RunTrace::instance().write(message.at, "mqtt", message.topic + " " + message.text);
    if (endsWith(message.topic, "/state")) {
        setTopic_ = message.topic.substr(0, message.topic.size() - 6) + "/set";
        lastState_ = message;
        if (stateHeard) {
            stateHeard(message);
        }
    } else if (endsWith(message.topic, "/error")) {
        errors_.push_back(std::move(message));
        if (errors_.size() > kErrorsKept) {
            errors_.pop_front();
        }
    }
}
