#pragma once

#include "Moment.h"
#include "mqtt/MqttClient.h"

#include <QJsonObject>
#include <QObject>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// A client of the broker beside the station's: it hears every supply's state
// and errors, and sends commands on the supply's set topic.
class MqttPeer final : public QObject {
    Q_OBJECT

public:
    struct Message {
        Moment at;
        std::string topic;
        QJsonObject json;
        std::string text;
    };
    struct Sent {
        Moment at;
        std::string payload;
        std::size_t action = 0;
    };

    explicit MqttPeer(quint16 port);
    ~MqttPeer() override;
    bool start();
    bool ready() const { return !setTopic_.empty(); }
    // False while the supply's topic is not known yet or the broker is away.
    bool publish(const std::string& payload, std::size_t action);
    const std::optional<Message>& lastState() const { return lastState_; }
    const std::deque<Message>& errors() const { return errors_; }

    std::function<void(const Message&)> stateHeard;
    std::function<void(const Sent&)> sent;

private:
    void onReceived(const QString& topic, const QByteArray& payload);

    std::unique_ptr<MqttClient> client_;
    std::string setTopic_;
    std::optional<Message> lastState_;
    std::deque<Message> errors_;
};
