#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

// Replaces a file's whole content so that, whatever happens meanwhile (a full
// disk, a crash, the process killed), the file holds either its old content or
// the new one. A link stays a link: the file it leads to, through any chain of
// links, is the one replaced, and keeps its permissions.
class AtomicFile {
public:
    // Writes part of the data, as write(2) does; tests put a failing one in.
    using Writer = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

    // False when the file keeps its old content; `why` then tells the system's reason.
    static bool replace(
        const std::string& path, const std::string& content, const Writer& writer = {}, std::string* why = nullptr);

private:
    static bool writeAll(int fd, const std::string& content, const Writer& writer, std::string* why);
};
