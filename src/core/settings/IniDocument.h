#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// An INI text edited the way the platform's private-profile functions edit it:
// sections and keys match without regard to case, a written key changes its
// line in place, a new key goes to the end of its section and a new section to
// the end of the text; every other line stays as it was, byte for byte, with
// its own line ending.
class IniDocument {
public:
    using Entry = std::pair<std::string, std::string>;

    static IniDocument parse(const std::string& text);
    std::string serialise() const;

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    // Writes many keys of one section in one pass, as setValue would one by one.
    void setValues(const std::string& section, const std::vector<Entry>& values);
    // The keys and values of a section, in file order.
    std::vector<Entry> entries(const std::string& section) const;

private:
    struct Line {
        std::string text;
        std::string ending; // empty only on a last line without a newline
    };

    std::optional<std::size_t> findSection(const std::string& name) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t insertionPoint(std::size_t header) const;
    void insertLines(std::size_t at, std::vector<Line> lines);
    void chooseNewline();

    std::vector<Line> lines_;
    std::string newline_ = "\n";
    bool byteOrderMark_ = false;
};
