#pragma once

#include "engine/RunSummary.h"
#include "text/Phrase.h"

#include <QByteArray>
#include <QString>

// A program run's summary as a small JSON document beside its recording, one
// file per run, named after the recording and the run's start.
class RunSummaryFile {
public:
    // "bench.csv" run at 14:03:27 gives "bench.run-20261209-140327.json".
    static QString pathBeside(const QString& recording, const RunSummary& summary);
    static QByteArray json(const RunSummary& summary);
    // Written whole or not at all; the problem, or empty.
    static Phrase write(const QString& path, const RunSummary& summary);
};
