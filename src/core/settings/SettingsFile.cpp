#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "text/Cp1251.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// A UTF-8 byte-order mark passes through as it is, not as three cp1251 letters.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string decode(const std::string& bytes)
{
    if (bytes.starts_with(kByteOrderMark)) {
        return std::string(kByteOrderMark) + Cp1251::toUtf8(bytes.substr(kByteOrderMark.size()));
    }
    return Cp1251::toUtf8(bytes);
}

std::string encode(const std::string& text)
{
    if (text.starts_with(kByteOrderMark)) {
        return std::string(kByteOrderMark) + Cp1251::fromUtf8(text.substr(kByteOrderMark.size()));
    }
    return Cp1251::fromUtf8(text);
}

// The whole content of a regular file; nothing when it cannot be read.
std::optional<std::string> readAll(int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            return bytes;
        } else if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

} // namespace

SettingsFile::SettingsFile(std::string path)
    : path_(std::move(path))
{
}

std::string SettingsFile::defaultPath()
{
    return configDirectory() + "/" + executableName() + ".ini";
}

std::string SettingsFile::configDirectory()
{
    // The environment is only read, and only from the window's thread.
    const char* xdg = std::getenv("XDG_CONFIG_HOME"); // NOLINT(concurrency-mt-unsafe)
    if (xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME"); // NOLINT(concurrency-mt-unsafe)
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string SettingsFile::executableName()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.stem().empty()) {
        return "tendrel-controller";
    }
    return executable.stem().string();
}

std::optional<IniDocument> SettingsFile::load() const
{
    // Non-blocking, so that a FIFO in the file's place does not hang the start.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return IniDocument::parse("");
        }
        return std::nullopt;
    }
    const std::optional<std::string> bytes = readAll(fd);
    ::close(fd);
    if (!bytes) {
        return std::nullopt;
    }
    return IniDocument::parse(decode(*bytes));
}

SettingsFile::Problem SettingsFile::protection() const
{
    struct stat info { };
    if (::stat(path_.c_str(), &info) != 0) {
        return Problem::None;
    }
    if (info.st_uid != ::geteuid()) {
        return Problem::OtherOwner;
    }
    return (info.st_mode & S_IWUSR) == 0 ? Problem::ReadOnly : Problem::None;
}

SettingsFile::Problem SettingsFile::save(const IniDocument& document) const
{
    const Problem protectedBy = protection();
    if (protectedBy != Problem::None) {
        return protectedBy;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    return AtomicFile::replace(path_, encode(document.serialise())) ? Problem::None : Problem::NotWritten;
}
