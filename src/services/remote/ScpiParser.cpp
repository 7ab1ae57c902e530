#include "remote/ScpiParser.h"

#include "remote/ScpiBlock.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
        [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

// What a walk through the text outside strings and blocks found: the quote
// left open, if any, and where the last block ends (0 when none).
struct Scan {
    char openQuote = 0;
    std::size_t lastBlockEnd = 0;
};

// Calls `plain(i)` for each character outside single or double quotes and
// outside blocks, whose data may hold anything.
template <typename Plain> Scan scan(std::string_view text, Plain plain)
{
    Scan found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (found.openQuote != 0) {
            found.openQuote = c == found.openQuote ? 0 : found.openQuote;
        } else if (const auto block = ScpiBlock::span(text.substr(i))) {
            i += *block - 1;
            found.lastBlockEnd = i + 1;
        } else if (c == '"' || c == '\'') {
            found.openQuote = c;
        } else {
            plain(i);
        }
    }
    return found;
}

// Cuts `text` at each `separator` outside strings, blocks and parentheses,
// which hold a channel list such as (@1,2).
std::vector<std::string_view> cut(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    std::size_t depth = 0;
    std::size_t start = 0;
    scan(text, [&](std::size_t i) {
        const char c = text[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth -= depth > 0 ? 1 : 0;
        } else if (c == separator && depth == 0) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    });
    pieces.push_back(text.substr(start));
    return pieces;
}

// A mnemonic: a letter, then letters, digits or underscores.
std::size_t mnemonicLength(std::string_view text)
{
    if (text.empty() || !isLetter(text.front())) {
        return 0;
    }
    std::size_t length = 1;
    while (length < text.size() && (isLetter(text[length]) || isDigit(text[length]) || text[length] == '_')) {
        ++length;
    }
    return length;
}

// Reads the header at the front of `text` into `command`; returns its length, 0 if malformed.
std::size_t readHeader(std::string_view text, ScpiCommand& command)
{
    std::size_t at = 0;
    if (text.front() == '*') {
        command.common = true;
        const std::size_t length = mnemonicLength(text.substr(1));
        if (length == 0) {
            return 0;
        }
        command.mnemonics.push_back(upper(text.substr(0, 1 + length)));
        at = 1 + length;
    } else {
        command.absolute = text.front() == ':';
        at = command.absolute ? 1 : 0;
        for (;;) {
            const std::size_t length = mnemonicLength(text.substr(at));
            if (length == 0) {
                return 0;
            }
            command.mnemonics.push_back(upper(text.substr(at, length)));
            at += length;
            if (at == text.size() || text[at] != ':') {
                break;
            }
            ++at;
        }
    }
    if (at < text.size() && text[at] == '?') {
        command.query = true;
        ++at;
    }
    return at;
}

bool hasUnclosedQuote(std::string_view text)
{
    return scan(text, [](std::size_t) {}).openQuote != 0;
}

// Less the blanks around it; a block's data keeps its own.
std::string_view trimmedAroundBlocks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    const std::size_t keep = scan(text, [](std::size_t) {}).lastBlockEnd;
    while (text.size() > keep && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::vector<std::string_view> ScpiParser::split(std::string_view line)
{
    std::vector<std::string_view> commands = cut(line, ';');
    std::erase_if(commands, [](std::string_view command) { return trimmed(command).empty(); });
    return commands;
}

std::variant<ScpiCommand, ScpiError> ScpiParser::parse(std::string_view text)
{
    text = trimmedAroundBlocks(text);
    ScpiCommand command;
    if (text.empty()) {
        return ScpiError::commandError("empty command");
    }
    const std::size_t headerLength = readHeader(text, command);
    if (headerLength == 0 || (headerLength < text.size() && !isBlank(text[headerLength]))) {
        return ScpiError::commandError("malformed header");
    }
    const std::string_view rest = trimmedAroundBlocks(text.substr(headerLength));
    if (rest.empty()) {
        return command;
    }
    if (hasUnclosedQuote(rest)) {
        return ScpiError::commandError("unterminated string");
    }
    for (const std::string_view parameter : cut(rest, ',')) {
        const std::string_view value = trimmedAroundBlocks(parameter);
        if (value.empty()) {
            return ScpiError::missingParameter();
        }
        command.parameters.emplace_back(value);
    }
    return command;
}
