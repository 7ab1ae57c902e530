#pragma once

#include "readings/FileSyncer.h"
#include "readings/Reading.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// Writes one CSV line per reading as it arrives, straight to the file, so a
// crash loses at most the line being written; a thread of its own syncs the
// file to its medium. A failure stops the recording and says why; the caller
// goes on.
class CsvRecorder : public QObject {
    Q_OBJECT
public:
    enum class Mode { Overwrite, Append };

    explicit CsvRecorder(QObject* parent = nullptr, FileSyncer::Sync sync = {});
    ~CsvRecorder() override;
    CsvRecorder(const CsvRecorder&) = delete;
    CsvRecorder& operator=(const CsvRecorder&) = delete;

    // Stops any recording first. False, with failed() emitted, when the file
    // cannot be opened or its header written.
    bool start(const QString& path, Mode mode);
    void stop();
    void record(const Reading& reading);

    bool isRecording() const { return fd_ >= 0; }
    QString path() const { return path_; }

    // The Russian text for a system error number.
    static QString errorText(int error);

signals:
    void recordingChanged(bool recording);
    void failed(const QString& message);

private:
    static bool writeAll(int fd, const std::string& bytes);
    bool startLine(Mode mode) const;
    void fail(const QString& what, int error);
    bool closeFile();

    FileSyncer::Sync sync_;
    int fd_ = -1;
    std::unique_ptr<FileSyncer> syncer_;
    QString path_;
    std::optional<std::chrono::system_clock::time_point> firstTime_;
};
