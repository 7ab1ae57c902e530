#include "app/NoticeStreams.h"

#include <utility>

struct NoticeStreams::Stream {
    explicit Stream(LineBuffer::Take take)
        : buffer(std::move(take))
        , stream(&buffer)
    {
    }

    LineBuffer buffer;
    std::ostream stream;
};

NoticeStreams::NoticeStreams(std::ostream& standardError, Show show)
    : standardError_(standardError)
    , show_(std::move(show))
{
}

NoticeStreams::~NoticeStreams() = default;

std::ostream& NoticeStreams::under(const QString& heading)
{
    streams_.push_back(std::make_unique<Stream>([this, heading](const std::string& line) {
        standardError_ << line << '\n' << std::flush;
        show_(heading + QString::fromStdString(line));
    }));
    return streams_.back()->stream;
}
