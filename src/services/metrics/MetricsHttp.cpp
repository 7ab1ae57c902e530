#include "metrics/MetricsHttp.h"

#include "metrics/MetricsExposition.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>

MetricsHttp::MetricsHttp(const MetricsBoard& board)
    : board_(board)
{
}

bool MetricsHttp::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    using Status = QHttpServerResponder::StatusCode;
    if (request.url().path() != QLatin1String("/metrics")) {
        return false;
    }
    QHttpServerResponder responder = makeResponder(request, socket);
    if (request.method() != QHttpServerRequest::Method::Get) {
        responder.write(QByteArrayLiteral("GET only\n"), {{"Content-Type", "text/plain"}, {"Allow", "GET"}},
            Status::MethodNotAllowed);
        return true;
    }
    const std::string body = MetricsExposition::format(board_.supplies(), board_.remoteClients(), TENDREL_VERSION);
    responder.write(QByteArray(body.data(), static_cast<qsizetype>(body.size())),
        {{"Content-Type",
            QByteArray(MetricsExposition::kContentType.data(),
                static_cast<qsizetype>(MetricsExposition::kContentType.size()))}});
    return true;
}

void MetricsHttp::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    makeResponder(request, socket)
        .write(QByteArrayLiteral("Not found; the metrics are at /metrics\n"), "text/plain",
            QHttpServerResponder::StatusCode::NotFound);
}
