#include "readings/CsvExport.h"

#include "readings/CsvLine.h"
#include "readings/ReadingHistory.h"

#include <QCoreApplication>
#include <QSaveFile>

QString CsvExport::write(const ReadingHistory& history, const QString& path)
{
    constexpr std::size_t kChunk = 1 << 16;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QCoreApplication::translate("CsvExport", "Не удалось создать «%1»: %2.").arg(path, file.errorString());
    }
    std::string text = CsvLine::header();
    for (std::size_t i = 0; i < history.size(); ++i) {
        text += CsvLine::format(history.reading(i), history.secondsAt(i) - history.secondsAt(0));
        if (text.size() >= kChunk) {
            file.write(text.data(), static_cast<qint64>(text.size()));
            text.clear();
        }
    }
    if (!text.empty()) {
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    if (!file.commit()) {
        return QCoreApplication::translate("CsvExport", "Не удалось записать «%1»: %2.").arg(path, file.errorString());
    }
    return {};
}
