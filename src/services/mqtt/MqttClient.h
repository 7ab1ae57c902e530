#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string>

struct mosquitto;
class MqttConfig;

// One connection to the broker, in the library's own network thread
// (mosquitto_loop_start): a slow or absent broker never holds up the supply's
// thread, which only queues what it publishes. What the library's thread
// hears reaches this object's thread as queued signals.
class MqttClient final : public QObject {
    Q_OBJECT

public:
    // Far above one supply's few messages a poll; past it, messages are dropped, not queued.
    static constexpr int kMaxUnsent = 64;
    // A command is a few keys; anything longer is refused unread.
    static constexpr int kMaxPayload = 4096;

    // The will, retained, is told when the connection dies without a goodbye.
    MqttClient(const MqttConfig& config, const std::string& clientId, const std::string& willTopic,
        const std::string& willPayload, QObject* parent = nullptr);
    ~MqttClient() override;
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Starts connecting; false, with the reason in error(), when it cannot even begin.
    bool start();
    const std::string& error() const { return error_; }
    // False when the message is dropped: not connected, or too many not yet sent.
    bool publish(const std::string& topic, const std::string& payload, bool retain, int qos = 0);
    void subscribe(const std::string& topic);

signals:
    void connected();
    // Once a connection is lost or refused, until one stands again.
    void trouble(const QString& why);
    void received(const QString& topic, const QByteArray& payload, bool oversized);
    // The messages not yet sent have fallen below the bound again.
    void drained();
    // From the library's thread, each queued on to this object's.
    void arrived(const QString& topic, const QByteArray& payload, bool oversized, QPrivateSignal);
    void answered(int code, QPrivateSignal);
    void closed(int code, QPrivateSignal);
    void sent(QPrivateSignal);

private:
    static void onConnect(mosquitto* handle, void* self, int code);
    static void onDisconnect(mosquitto* handle, void* self, int code);
    static void onPublish(mosquitto* handle, void* self, int messageId);
    static void onMessage(mosquitto* handle, void* self, const struct mosquitto_message* message);
    bool configure(const MqttConfig& config, const std::string& willTopic, const std::string& willPayload);
    void handleConnect(int code);
    void handleDisconnect(int code);
    void handleSent();
    void tell(const QString& why);

    mosquitto* handle_ = nullptr;
    std::string host_;
    int port_ = 0;
    std::string error_;
    bool connected_ = false;
    bool told_ = false;
    bool looping_ = false;
    int unsent_ = 0;
};
