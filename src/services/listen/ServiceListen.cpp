#include "listen/ServiceListen.h"

#include <QString>

#include <variant>

namespace {

ServiceListen listenOn(std::string_view text, const std::string& source)
{
    ServiceListen listen;
    auto parsed = ListenAddress::parse(text);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        listen.error = source + ": " + *message;
        return listen;
    }
    listen.enabled = true;
    listen.address = std::get<ListenAddress>(parsed);
    return listen;
}

} // namespace

ServiceListen ServiceListen::resolve(const Names& names, const ServiceChoice& choice)
{
    ServiceListen listen = chosen(names, choice);
    if (listen.reachesOthers()) {
        listen.warning = QString::fromStdString(names.othersWarning)
                             .arg(QString::fromStdString(listen.address.toString()))
                             .toStdString();
    }
    return listen;
}

ServiceListen ServiceListen::chosen(const Names& names, const ServiceChoice& choice)
{
    if (choice.option) {
        return listenOn(*choice.option, std::string(names.option));
    }
    const std::string enabled = choice.section.value("Enabled");
    if (enabled.empty() || enabled == "0") {
        return {};
    }
    if (enabled != "1") {
        ServiceListen refused;
        refused.error = names.badEnabled;
        return refused;
    }
    const std::string listen = choice.section.value("Listen");
    return listenOn(listen.empty() ? names.defaultListen : listen, "[" + std::string(names.section) + "] Listen");
}
