#include "settings/AtomicFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <system_error>

#include <unistd.h>

bool AtomicFile::writeAll(int fd, const std::string& content, const Writer& writer, std::string* why)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = writer ? writer(fd, content.data() + done, content.size() - done)
                                       : ::write(fd, content.data() + done, content.size() - done);
        if (written <= 0) {
            if (why != nullptr) {
                *why = written < 0 ? std::error_code(errno, std::generic_category()).message() : "nothing written";
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// QSaveFile writes beside the file that the links lead to and renames over it
// only once the data is on the disk; a save given up leaves no temporary.
bool AtomicFile::replace(const std::string& path, const std::string& content, const Writer& writer, std::string* why)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    const auto fail = [&file, why] {
        if (why != nullptr) {
            *why = file.errorString().toStdString();
        }
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail();
    }
    if (!writeAll(file.handle(), content, writer, why)) {
        file.cancelWriting();
        return false;
    }
    return file.commit() || fail();
}
