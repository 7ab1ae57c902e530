#pragma once

#include "app/LineBuffer.h"

#include <QString>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Streams for the parts that report on standard error: each line goes there,
// and to the window under the part's heading, since a window started from the
// desktop has no terminal. The streams live as long as this object.
class NoticeStreams {
public:
    using Show = std::function<void(const QString&)>;

    NoticeStreams(std::ostream& standardError, Show show);
    ~NoticeStreams();

    NoticeStreams(const NoticeStreams&) = delete;
    NoticeStreams& operator=(const NoticeStreams&) = delete;

    std::ostream& under(const QString& heading);
    // A line for the window alone, told on standard error in its own words.
    void show(const QString& line) const { show_(line); }

private:
    struct Stream;

    std::ostream& standardError_;
    Show show_;
    std::vector<std::unique_ptr<Stream>> streams_;
};
