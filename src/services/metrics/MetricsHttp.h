#pragma once

#include "metrics/MetricsBoard.h"

#include <QAbstractHttpServer>

// Answers GET /metrics from the board, on the thread it lives on; any other
// path is 404 and any other method on it 405.
class MetricsHttp : public QAbstractHttpServer {
public:
    explicit MetricsHttp(const MetricsBoard& board);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    const MetricsBoard& board_;
};
