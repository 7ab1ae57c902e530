#pragma once

#include "readings/FileSyncer.h"
#include "readings/Reading.h"
#include "text/Phrase.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// Writes one CSV line per reading as it arrives, straight to the file and
// whole or not at all, so a crash loses at most the line being written; a
// thread of its own syncs the file to its medium. The file stays locked while
// it records: a second recorder of it, in this program or another, is
// refused. A failure stops the recording and says why; the caller goes on.
class CsvRecorder : public QObject {
    Q_OBJECT
public:
    enum class Mode { Overwrite, Append };

    explicit CsvRecorder(QObject* parent = nullptr, FileSyncer::Sync sync = {});
    ~CsvRecorder() override;
    CsvRecorder(const CsvRecorder&) = delete;
    CsvRecorder& operator=(const CsvRecorder&) = delete;

    // Stops any recording first. False, with failed() emitted, when the file
    // cannot be opened, is being recorded already or its header cannot be
    // written. Appending carries elapsed_s on from the file's last line.
    bool start(const QString& path, Mode mode);
    void stop();
    void record(const Reading& reading);

    bool isRecording() const { return fd_ >= 0; }
    QString path() const { return path_; }

signals:
    void recordingChanged(bool recording);
    // In the window's words and in English.
    void failed(const QString& message, const QString& inEnglish);

private:
    static bool writeAll(int fd, const std::string& bytes, std::size_t& done);
    static Phrase because(const Phrase& what, int error);
    static Phrase errorText(int error);
    bool writeLine(const std::string& bytes) const;
    bool startLine(Mode mode);
    static bool startsWithOldHeader(int fd);
    void fail(const Phrase& reason);
    bool closeFile();

    FileSyncer::Sync sync_;
    int fd_ = -1;
    std::unique_ptr<FileSyncer> syncer_;
    QString path_;
    std::optional<std::chrono::steady_clock::time_point> firstMonotonic_;
    double elapsedBase_ = 0.0;
    bool programColumns_ = true;
};
