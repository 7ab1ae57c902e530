#include "readings/CsvTail.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

CsvTail::CsvTail(int fd)
{
    struct stat status { };
    if (::fstat(fd, &status) != 0 || status.st_size <= 0) {
        return;
    }
    const off_t start = std::max<off_t>(status.st_size - kTailBytes, 0);
    wholeFile_ = start == 0;
    text_.resize(static_cast<std::size_t>(status.st_size - start));
    const ssize_t got = ::pread(fd, text_.data(), text_.size(), start);
    text_.resize(static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
}

// The tail's first line is only part of one unless the tail is the whole file.
double CsvTail::lastElapsed() const
{
    std::string_view rest(text_);
    if (endsInNewline()) {
        rest.remove_suffix(1);
    }
    while (true) {
        const std::size_t cut = rest.rfind('\n');
        if (cut == std::string_view::npos && !wholeFile_) {
            return 0.0;
        }
        if (const auto elapsed = elapsedOf(cut == std::string_view::npos ? rest : rest.substr(cut + 1))) {
            return *elapsed;
        }
        if (cut == std::string_view::npos) {
            return 0.0;
        }
        rest = rest.substr(0, cut);
    }
}

std::optional<double> CsvTail::elapsedOf(std::string_view line)
{
    const std::size_t first = line.find(',');
    const std::size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* begin = line.data() + first + 1;
    const char* end = line.data() + second;
    const auto result = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
