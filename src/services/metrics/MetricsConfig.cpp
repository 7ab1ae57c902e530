#include "metrics/MetricsConfig.h"

#include "listen/ServiceListen.h"

#include <QCoreApplication>

MetricsConfig MetricsConfig::resolve(const ServiceChoice& choice)
{
    return {ServiceListen::resolve(
        {"--metrics", "Metrics", kDefaultListen,
            QCoreApplication::translate("MetricsConfig", "[Metrics] Enabled must be 0 or 1").toStdString(),
            QCoreApplication::translate("MetricsConfig",
                "note: metrics are served on %1: anyone who can reach this address can read the supplies' readings "
                "(read only)")
                .toStdString()},
        choice)};
}
