#include "settings/IniDocument.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <unordered_map>

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

std::string trim(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
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

// The form of a name that matches every spelling of it.
std::string folded(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

} // namespace

// A leading byte-order mark belongs to no line; CR LF, LF and a lone CR each
// end a line.
IniDocument IniDocument::parse(const std::string& text)
{
    IniDocument document;
    std::size_t begin = 0;
    if (text.starts_with(kByteOrderMark)) {
        document.byteOrderMark_ = true;
        begin = std::char_traits<char>::length(kByteOrderMark);
    }
    while (begin < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) {
            document.lines_.push_back({text.substr(begin), {}});
            break;
        }
        const std::size_t length = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        document.lines_.push_back({text.substr(begin, end - begin), text.substr(end, length)});
        begin = end + length;
    }
    document.chooseNewline();
    return document;
}

// New lines end as most of the text's lines do.
void IniDocument::chooseNewline()
{
    std::ptrdiff_t most = 0;
    for (const char* candidate : {"\n", "\r\n", "\r"}) {
        const std::ptrdiff_t count
            = std::count_if(lines_.begin(), lines_.end(), [&](const Line& line) { return line.ending == candidate; });
        if (count > most) {
            most = count;
            newline_ = candidate;
        }
    }
}

std::string IniDocument::serialise() const
{
    std::string text = byteOrderMark_ ? kByteOrderMark : "";
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

std::optional<std::size_t> IniDocument::findSection(const std::string& name) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto found = sectionName(lines_[i].text);
        if (found && sameName(*found, name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !sectionName(lines_[i].text)) {
        ++i;
    }
    return i;
}

// After the section's last line that is not blank.
std::size_t IniDocument::insertionPoint(std::size_t header) const
{
    std::size_t end = sectionEnd(header);
    while (end > header + 1 && trim(lines_[end - 1].text).empty()) {
        --end;
    }
    return end;
}

void IniDocument::insertLines(std::size_t at, std::vector<Line> lines)
{
    if (lines.empty()) {
        return;
    }
    if (at == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) {
        // A text without a final newline stays without one.
        lines_.back().ending = newline_;
        lines.back().ending.clear();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(lines.begin()),
        std::make_move_iterator(lines.end()));
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
        if (auto entry = entryOf(lines_[i].text)) {
            found.push_back(std::move(*entry));
        }
    }
    return found;
}

void IniDocument::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    setValues(section, {{key, value}});
}

// One look at the section whatever the number of keys: a save of many pairs
// stays linear.
void IniDocument::setValues(const std::string& section, const std::vector<Entry>& values)
{
    const auto header = findSection(section);
    std::vector<Line> added;
    added.reserve(values.size() + 1); // the pointers below into it stay valid
    if (!header) {
        added.push_back({"[" + section + "]", newline_});
    }
    // The line of each key: the first of its name in the section, else a new one.
    std::unordered_map<std::string, std::string*> lineOf;
    if (header) {
        const std::size_t end = sectionEnd(*header);
        for (std::size_t i = *header + 1; i < end; ++i) {
            if (const auto entry = entryOf(lines_[i].text)) {
                lineOf.emplace(folded(entry->first), &lines_[i].text);
            }
        }
    }
    for (const auto& [key, text] : values) {
        std::string*& line = lineOf[folded(key)];
        if (line == nullptr) {
            added.push_back({{}, newline_});
            line = &added.back().text;
        }
        line->assign(key).append("=").append(text);
    }
    insertLines(header ? insertionPoint(*header) : lines_.size(), std::move(added));
}
