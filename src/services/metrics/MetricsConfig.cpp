#include "metrics/MetricsConfig.h"

#include "listen/ServiceListen.h"

#include <QCoreApplication>

MetricsConfig MetricsConfig::resolve(const ServiceChoice& choice)
{
    const ServiceListen listen = ServiceListen::resolve(
        {"--metrics", "Metrics", kDefaultListen,
            QCoreApplication::translate("MetricsConfig", "[Metrics] Enabled must be 0 or 1").toStdString()},
        choice);
    MetricsConfig config;
    config.enabled = listen.enabled;
    config.address = listen.address;
    config.error = listen.error;
    if (listen.reachesOthers()) {
        config.warning = QCoreApplication::translate("MetricsConfig",
            "note: metrics are served on %1: anyone who can reach this address can read the supplies' readings "
            "(read only)")
                             .arg(QString::fromStdString(config.address.toString()))
                             .toStdString();
    }
    return config;
}
