#pragma once

#include <QString>

class ReadingHistory;

// The whole history as a CSV file in the recording's format. The file is
// replaced in one step, so a failure leaves the old one.
class CsvExport {
public:
    // An empty string on success, otherwise the reason, translated.
    static QString write(const ReadingHistory& history, const QString& path);
};
