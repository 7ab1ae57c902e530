#include "listen/ListenAddress.h"

#include <QCoreApplication>

#include <charconv>
#include <optional>

namespace {

std::string quoted(std::string_view text)
{
    std::string result = "\"";
    for (const char c : text) {
        result.push_back(c >= ' ' && c <= '~' ? c : '?');
    }
    return result + "\"";
}

// The message for text, with %1 the quoted text and %2 the form expected.
std::string refusal(const char* message, std::string_view text)
{
    return QCoreApplication::translate("ListenAddress", message)
        .arg(QString::fromStdString(quoted(text)),
            QCoreApplication::translate(
                "ListenAddress", "expected [ADDRESS:]PORT, such as 5025, 127.0.0.1:5025 or [::1]:5025"))
        .toStdString();
}

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<quint16> portOf(std::string_view text)
{
    unsigned value = 0;
    if (!isDigits(text) || text.size() > 5) {
        return std::nullopt;
    }
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(value);
}

// Four decimal numbers from 0 to 255 without leading zeros, nothing shorter.
std::optional<QHostAddress> ipv4Of(std::string_view text)
{
    quint32 address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        const std::string_view number = text.substr(0, dot);
        unsigned value = 0;
        if (!isDigits(number) || number.size() > 3 || (number.size() > 1 && number.front() == '0')) {
            return std::nullopt;
        }
        std::from_chars(number.data(), number.data() + number.size(), value);
        if (value > 255 || (part < 3) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        address = (address << 8U) | value;
        text.remove_prefix(part < 3 ? dot + 1 : text.size());
    }
    return QHostAddress(address);
}

std::optional<QHostAddress> ipv6Of(std::string_view text)
{
    QHostAddress address;
    if (text.empty() || !address.setAddress(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())))
        || address.protocol() != QAbstractSocket::IPv6Protocol) {
        return std::nullopt;
    }
    return address;
}

std::optional<QHostAddress> hostOf(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        return ipv6Of(text.substr(1, text.size() - 2));
    }
    if (QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
            .compare(QStringLiteral("localhost"), Qt::CaseInsensitive)
        == 0) {
        return QHostAddress(QHostAddress::LocalHost);
    }
    return ipv4Of(text);
}

} // namespace

ListenAddress::ListenAddress(const QHostAddress& host, quint16 port)
    : host_(host)
    , port_(port)
{
}

std::variant<ListenAddress, std::string> ListenAddress::parse(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    const std::size_t colon = text.rfind(':');
    const std::string_view portText = colon == std::string_view::npos ? text : text.substr(colon + 1);
    const std::optional<quint16> port = portOf(portText);
    if (!port) {
        return refusal(QT_TRANSLATE_NOOP("ListenAddress", "%1 has no port from 1 to 65535: %2"), text);
    }
    if (colon == std::string_view::npos) {
        return ListenAddress(QHostAddress(QHostAddress::LocalHost), *port);
    }
    const std::string_view hostText = text.substr(0, colon);
    if (hostText.find(':') != std::string_view::npos && hostText.front() != '[') {
        return refusal(QT_TRANSLATE_NOOP("ListenAddress", "%1: write an IPv6 address in brackets: %2"), text);
    }
    const std::optional<QHostAddress> host = hostOf(hostText);
    if (!host) {
        return refusal(QT_TRANSLATE_NOOP("ListenAddress", "%1 is not a numeric IP address or localhost: %2"), text);
    }
    return ListenAddress(*host, *port);
}

bool ListenAddress::isLoopback() const
{
    return host_.isLoopback();
}

std::string ListenAddress::toString() const
{
    const std::string host = host_.toString().toStdString();
    const bool ipv6 = host_.protocol() == QAbstractSocket::IPv6Protocol;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port_);
}
