#pragma once

#include <functional>
#include <streambuf>
#include <string>

// A stream's buffer that hands each finished line, without its newline, to a
// function: the messages a part writes for standard error can also reach the
// window. A line cut short is handed on at a flush.
class LineBuffer final : public std::streambuf {
public:
    using Take = std::function<void(const std::string&)>;

    explicit LineBuffer(Take take);
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void handOn();

    Take take_;
    std::string line_;
};
