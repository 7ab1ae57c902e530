#include "remote/ScpiText.h"

#include <array>
#include <string_view>

namespace {

// The lower-case letters а to я in order, then ё.
constexpr std::array<std::string_view, 33> kLatin{"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n",
    "o", "p", "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "", "y", "", "e", "yu", "ya", "e"};

std::string_view latinOf(char16_t lower)
{
    if (lower >= u'а' && lower <= u'я') {
        return kLatin.at(static_cast<std::size_t>(lower - u'а'));
    }
    return lower == u'ё' ? kLatin.back() : std::string_view{};
}

void appendLetter(std::string& out, QChar letter)
{
    const std::string_view latin = latinOf(letter.toLower().unicode());
    if (latin.empty()) {
        return;
    }
    out.push_back(letter.isUpper() ? static_cast<char>(latin.front() - 'a' + 'A') : latin.front());
    out.append(latin.substr(1));
}

void appendOther(std::string& out, char16_t c)
{
    if (c == u'«' || c == u'»' || c == u'"') {
        out.push_back('\'');
    } else if (c == u',') {
        out.push_back(';');
    } else if (c == u'·') {
        out.push_back('.');
    } else if (c >= u' ' && c <= u'~') {
        out.push_back(static_cast<char>(c));
    } else {
        out.push_back(c < u' ' ? ' ' : '?');
    }
}

} // namespace

std::string ScpiText::ascii(const QString& text)
{
    std::string out;
    for (const QChar c : text) {
        const char16_t lower = c.toLower().unicode();
        if ((lower >= u'а' && lower <= u'я') || lower == u'ё') {
            appendLetter(out, c);
        } else {
            appendOther(out, c.unicode());
        }
    }
    return out;
}
