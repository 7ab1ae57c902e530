#include "readings/CsvRecorder.h"

#include "readings/CsvLine.h"
#include "readings/CsvTail.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

CsvRecorder::CsvRecorder(QObject* parent, FileSyncer::Sync sync)
    : QObject(parent)
    , sync_(std::move(sync))
{
}

CsvRecorder::~CsvRecorder()
{
    closeFile();
}

// The syncer goes first: it must not sync a closed, perhaps reused, descriptor.
bool CsvRecorder::closeFile()
{
    if (fd_ < 0) {
        return false;
    }
    syncer_.reset();
    ::close(fd_);
    fd_ = -1;
    return true;
}

bool CsvRecorder::start(const QString& path, Mode mode)
{
    stop();
    path_ = path;
    // Every write lands at the end, after any other writer's; appending reads the tail back.
    const int flags = O_CREAT | O_CLOEXEC | O_RDWR | O_APPEND;
    fd_ = ::open(QFile::encodeName(path).constData(), flags, 0644); // NOLINT(cppcoreguidelines-pro-type-vararg)
    if (fd_ < 0) {
        const int error = errno;
        fail(because(Phrase::translate("CsvRecorder", "не удалось открыть файл «%1»").arg(path), error));
        return false;
    }
    // Locked before anything is cut, so that another recording keeps its lines;
    // a file system without locks records unlocked.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        fail(Phrase::translate("CsvRecorder", "файл «%1» уже записывает другая программа").arg(path));
        return false;
    }
    firstMonotonic_.reset();
    if (!startLine(mode)) {
        const int error = errno;
        fail(because(Phrase::translate("CsvRecorder", "не удалось записать в файл «%1»").arg(path), error));
        return false;
    }
    syncer_ = std::make_unique<FileSyncer>(fd_, sync_);
    emit recordingChanged(true);
    return true;
}

// A new or overwritten file gets the header; an appended one a newline first
// if its last line was cut short, and its elapsed_s goes on from there.
bool CsvRecorder::startLine(Mode mode)
{
    struct stat status { };
    if (mode == Mode::Overwrite && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(fd_, 0) != 0) {
        return false;
    }
    const CsvTail tail(fd_);
    elapsedBase_ = tail.lastElapsed();
    programColumns_ = true;
    if (tail.empty()) {
        return writeLine(CsvLine::header());
    }
    programColumns_ = !startsWithOldHeader(fd_);
    return tail.endsInNewline() || writeLine("\n");
}

bool CsvRecorder::startsWithOldHeader(int fd)
{
    const std::string old = CsvLine::headerWithoutProgram();
    std::string first(old.size(), '\0');
    const ssize_t got = ::pread(fd, first.data(), first.size(), 0);
    return got == static_cast<ssize_t>(old.size()) && first == old;
}

void CsvRecorder::stop()
{
    if (closeFile()) {
        emit recordingChanged(false);
    }
}

void CsvRecorder::record(const Reading& reading)
{
    if (fd_ < 0) {
        return;
    }
    if (const int error = syncer_->error(); error != 0) {
        fail(because(Phrase::translate("CsvRecorder", "не удалось записать в файл «%1»").arg(path_), error));
        return;
    }
    if (!firstMonotonic_) {
        firstMonotonic_ = reading.monotonic;
    }
    // Differences of doubles: two arbitrary time points may be too far apart for their integer type.
    const double elapsed = elapsedBase_ + std::chrono::duration<double>(reading.monotonic.time_since_epoch()).count()
        - std::chrono::duration<double>(firstMonotonic_->time_since_epoch()).count();
    if (!writeLine(CsvLine::format(reading, elapsed, programColumns_))) {
        const int error = errno;
        fail(because(Phrase::translate("CsvRecorder", "не удалось записать в файл «%1»").arg(path_), error));
        return;
    }
    syncer_->request();
}

// A line goes in whole or not at all: what a short write left is cut off again.
bool CsvRecorder::writeLine(const std::string& bytes) const
{
    std::size_t done = 0;
    if (writeAll(fd_, bytes, done)) {
        return true;
    }
    const int error = errno;
    struct stat status { };
    if (done > 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
        // Should the cut fail as well, the write's error is still the one to tell.
        [[maybe_unused]] const int cut = ::ftruncate(fd_, status.st_size - static_cast<off_t>(done));
    }
    errno = error;
    return false;
}

bool CsvRecorder::writeAll(int fd, const std::string& bytes, std::size_t& done)
{
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

Phrase CsvRecorder::because(const Phrase& what, int error)
{
    return Phrase::translate("CsvRecorder", "%1: %2").arg(what).arg(errorText(error));
}

void CsvRecorder::fail(const Phrase& reason)
{
    const bool started = syncer_ != nullptr;
    closeFile();
    if (started) {
        emit recordingChanged(false);
    }
    const Phrase message = Phrase::translate("CsvRecorder", "Запись в CSV остановлена: %1.").arg(reason);
    emit failed(message.inWindow(), message.inEnglish());
}

Phrase CsvRecorder::errorText(int error)
{
    switch (error) {
    case ENOSPC:
        return Phrase::translate("CsvRecorder", "на диске нет места");
    case EDQUOT:
        return Phrase::translate("CsvRecorder", "превышена дисковая квота");
    case EFBIG:
        return Phrase::translate("CsvRecorder", "файл достиг предельного размера");
    case EIO:
        return Phrase::translate("CsvRecorder", "ошибка ввода-вывода, возможно, носитель извлечён");
    case EACCES:
    case EPERM:
        return Phrase::translate("CsvRecorder", "нет прав на запись");
    case EROFS:
        return Phrase::translate("CsvRecorder", "носитель доступен только для чтения");
    case ENOENT:
        return Phrase::translate("CsvRecorder", "такой папки нет");
    case ENOTDIR:
        return Phrase::translate("CsvRecorder", "в пути файл стоит на месте папки");
    case EISDIR:
        return Phrase::translate("CsvRecorder", "это папка, а не файл");
    case ENODEV:
    case ENXIO:
        return Phrase::translate("CsvRecorder", "устройство отсутствует");
    default:
        return Phrase::verbatim(QString::fromStdString(std::error_code(error, std::generic_category()).message()));
    }
}
