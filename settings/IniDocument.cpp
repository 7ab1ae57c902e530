#include "settings/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace {

std::string trim(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool sameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::string> sectionName(const std::string& line)
{
    const std::string text = trim(line);
    const std::size_t close = text.find(']');
    if (text.empty() || text.front() != '[' || close == std::string::npos) {
        return std::nullopt;
    }
    return trim(text.substr(1, close - 1));
}

std::string unquote(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<IniDocument::Entry> entryOf(const std::string& line)
{
    const std::string text = trim(line);
    const std::size_t equals = text.find('=');
    if (text.empty() || text.front() == ';' || equals == std::string::npos) {
        return std::nullopt;
    }
    return IniDocument::Entry{trim(text.substr(0, equals)), unquote(trim(text.substr(equals + 1)))};
}

} // namespace

IniDocument IniDocument::parse(const std::string& text)
{
    IniDocument document;
    if (text.find("\r\n") != std::string::npos) {
        document.newline_ = "\r\n";
    }
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        document.lines_.push_back(std::move(line));
        begin = end + 1;
    }
    return document;
}

std::string IniDocument::serialise() const
{
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += newline_;
    }
    return text;
}

std::optional<std::size_t> IniDocument::findSection(const std::string& name) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto found = sectionName(lines_[i]);
        if (found && sameName(*found, name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !sectionName(lines_[i])) {
        ++i;
    }
    return i;
}

// After the section's last line that is not blank.
std::size_t IniDocument::insertionPoint(std::size_t header) const
{
    std::size_t end = sectionEnd(header);
    while (end > header + 1 && trim(lines_[end - 1]).empty()) {
        --end;
    }
    return end;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const
{
    for (const Entry& entry : entries(section)) {
        if (sameName(entry.first, key)) {
            return entry.second;
        }
    }
    return std::nullopt;
}

std::vector<IniDocument::Entry> IniDocument::entries(const std::string& section) const
{
    std::vector<Entry> found;
    const auto header = findSection(section);
    if (!header) {
        return found;
    }
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (auto entry = entryOf(lines_[i])) {
            found.push_back(std::move(*entry));
        }
    }
    return found;
}

void IniDocument::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = key + "=" + value;
    const auto header = findSection(section);
    if (!header) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
        return;
    }
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto entry = entryOf(lines_[i]);
        if (entry && sameName(entry->first, key)) {
            lines_[i] = line;
            return;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertionPoint(*header)), line);
}
