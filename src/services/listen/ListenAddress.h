#pragma once

#include <QHostAddress>

#include <string>
#include <string_view>
#include <variant>

// Where a server listens: [ADDRESS:]PORT with a numeric IPv4
// address, a bracketed IPv6 address ([::1]:5025) or localhost; 127.0.0.1 when
// no address is given.
class ListenAddress {
public:
    static constexpr quint16 kDefaultPort = 5025;

    ListenAddress() = default;
    ListenAddress(const QHostAddress& host, quint16 port);

    // The address, or a message saying what is wrong with the text.
    static std::variant<ListenAddress, std::string> parse(std::string_view text);

    const QHostAddress& host() const { return host_; }
    quint16 port() const { return port_; }
    // Only this computer can reach it.
    bool isLoopback() const;
    // As parse() reads it back: 127.0.0.1:5025, [::1]:5025.
    std::string toString() const;

private:
    QHostAddress host_{QHostAddress::LocalHost};
    quint16 port_ = kDefaultPort;
};
