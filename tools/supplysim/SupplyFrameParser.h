#pragma once

#include <cstdint>
#include <optional>

// Splits the byte stream from the computer into frames. A data byte may have any
// value, including the poll byte, so the parser must remember where it is in a frame.
class SupplyFrameParser {
public:
    static constexpr std::uint8_t kPollByte = 100;
    static constexpr std::uint8_t kVoltageFlag = 64;
    static constexpr std::uint8_t kToggleFlag = 128;

    enum class Kind { Poll, SetCurrent, SetVoltage, SetVoltageToggle, Garbage };

    struct Frame {
        Kind kind;
        int code; // model code of a command; -1 for a poll or garbage
        int raw; // data word of a command; the byte itself for garbage
    };

    // Returns the frame this byte completes, if any.
    std::optional<Frame> feed(std::uint8_t byte);

    bool midFrame() const { return dataBytesSeen_ < dataBytesWanted_; }

private:
    std::optional<Frame> startFrame(std::uint8_t byte);
    static std::optional<Kind> commandKind(std::uint8_t byte);

    Kind kind_ = Kind::Poll;
    int code_ = -1;
    int dataBytesWanted_ = 0;
    int dataBytesSeen_ = 0;
    int word_ = 0;
};
