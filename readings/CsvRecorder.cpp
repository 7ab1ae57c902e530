#include "readings/CsvRecorder.h"

#include "readings/CsvLine.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
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
    // Appending reads the last byte back.
    const int flags = O_CREAT | O_CLOEXEC | (mode == Mode::Append ? O_RDWR | O_APPEND : O_WRONLY | O_TRUNC);
    fd_ = ::open(QFile::encodeName(path).constData(), flags, 0644); // NOLINT(cppcoreguidelines-pro-type-vararg)
    if (fd_ < 0) {
        const int error = errno;
        fail(tr("не удалось открыть файл «%1»").arg(path), error);
        return false;
    }
    firstTime_.reset();
    if (!startLine(mode)) {
        const int error = errno;
        fail(tr("не удалось записать в файл «%1»").arg(path), error);
        return false;
    }
    syncer_ = std::make_unique<FileSyncer>(fd_, sync_);
    emit recordingChanged(true);
    return true;
}

// A new file gets the header; an appended one a newline first if its last
// line was cut short.
bool CsvRecorder::startLine(Mode mode) const
{
    struct stat status { };
    if (mode == Mode::Overwrite || ::fstat(fd_, &status) != 0 || status.st_size == 0) {
        return writeAll(fd_, CsvLine::header());
    }
    char last = '\n';
    if (::pread(fd_, &last, 1, status.st_size - 1) == 1 && last != '\n') {
        return writeAll(fd_, "\n");
    }
    return true;
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
        fail(tr("не удалось записать в файл «%1»").arg(path_), error);
        return;
    }
    if (!firstTime_) {
        firstTime_ = reading.time;
    }
    const double elapsed = std::chrono::duration<double>(reading.time.time_since_epoch()).count()
        - std::chrono::duration<double>(firstTime_->time_since_epoch()).count();
    if (!writeAll(fd_, CsvLine::format(reading, elapsed))) {
        const int error = errno;
        fail(tr("не удалось записать в файл «%1»").arg(path_), error);
        return;
    }
    syncer_->request();
}

bool CsvRecorder::writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
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

void CsvRecorder::fail(const QString& what, int error)
{
    const bool started = syncer_ != nullptr;
    closeFile();
    if (started) {
        emit recordingChanged(false);
    }
    emit failed(tr("Запись в CSV остановлена: %1: %2.").arg(what, errorText(error)));
}

QString CsvRecorder::errorText(int error)
{
    switch (error) {
    case ENOSPC:
        return tr("на диске нет места");
    case EDQUOT:
        return tr("превышена дисковая квота");
    case EIO:
        return tr("ошибка ввода-вывода, возможно, носитель извлечён");
    case EACCES:
    case EPERM:
        return tr("нет прав на запись");
    case EROFS:
        return tr("носитель доступен только для чтения");
    case ENOENT:
        return tr("такой папки нет");
    case ENOTDIR:
        return tr("в пути файл стоит на месте папки");
    case EISDIR:
        return tr("это папка, а не файл");
    case ENODEV:
    case ENXIO:
        return tr("устройство отсутствует");
    default:
        return QString::fromStdString(std::error_code(error, std::generic_category()).message());
    }
}
