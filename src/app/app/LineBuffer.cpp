#include "app/LineBuffer.h"

#include <utility>

LineBuffer::LineBuffer(Take take)
    : take_(std::move(take))
{
}

LineBuffer::int_type LineBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    if (character == '\n') {
        handOn();
    } else {
        line_.push_back(character);
    }
    return c;
}

std::streamsize LineBuffer::xsputn(const char* text, std::streamsize count)
{
    for (std::streamsize i = 0; i < count; ++i) {
        overflow(traits_type::to_int_type(text[i]));
    }
    return count;
}

int LineBuffer::sync()
{
    handOn();
    return 0;
}

void LineBuffer::handOn()
{
    if (!line_.empty()) {
        take_(std::exchange(line_, {}));
    }
}
