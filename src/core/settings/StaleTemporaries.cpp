#include "settings/StaleTemporaries.h"

#include <algorithm>
#include <ctime>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

int StaleTemporaries::remove(const std::string& path, std::chrono::seconds minimumAge)
{
    const std::filesystem::path file(path);
    const std::filesystem::path target = linkTarget(file);
    int removed = removeBeside(file, minimumAge);
    if (target != file) {
        removed += removeBeside(target, minimumAge);
    }
    return removed;
}

int StaleTemporaries::removeBeside(const std::filesystem::path& file, std::chrono::seconds minimumAge)
{
    const std::string fileName = file.filename().string();
    const std::filesystem::path directory = file.has_parent_path() ? file.parent_path() : ".";
    const std::time_t newest = std::time(nullptr) - minimumAge.count();
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        struct stat info { };
        const std::filesystem::path& candidate = entry->path();
        if (isTemporaryOf(candidate.filename().string(), fileName) && ::lstat(candidate.c_str(), &info) == 0
            && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_mtime <= newest
            && ::unlink(candidate.c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

// Six random letters or digits; six small letters alone are more likely a
// word, as in the user's own ".backup", than a temporary.
bool StaleTemporaries::isTemporaryOf(const std::string& name, const std::string& fileName)
{
    constexpr std::size_t kRandomLength = 6;
    if (name.size() != fileName.size() + 1 + kRandomLength || !name.starts_with(fileName + ".")) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    const auto random = name.end() - kRandomLength;
    return std::all_of(random, name.end(), [&](char c) {
        return lower(c) || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
    }) && !std::all_of(random, name.end(), lower);
}

// The file at the end of a chain of links, as a save writes it.
std::filesystem::path StaleTemporaries::linkTarget(const std::filesystem::path& path)
{
    constexpr int kMostLinks = 40;
    std::filesystem::path current = path;
    for (int i = 0; i < kMostLinks; ++i) {
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            break;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}
