#include "SupplyFrameParser.h"

#include "supply/ModelTable.h"

namespace {

constexpr int kWordBytes = 2;
constexpr std::uint8_t kCodeMask = 0x3F;

} // namespace

std::optional<SupplyFrameParser::Frame> SupplyFrameParser::feed(std::uint8_t byte)
{
    if (!midFrame()) {
        return startFrame(byte);
    }
    word_ |= byte << (8 * dataBytesSeen_);
    ++dataBytesSeen_;
    if (midFrame()) {
        return std::nullopt;
    }
    return Frame{kind_, code_, word_};
}

std::optional<SupplyFrameParser::Frame> SupplyFrameParser::startFrame(std::uint8_t byte)
{
    if (byte == kPollByte) {
        return Frame{Kind::Poll, -1, 0};
    }
    const std::optional<Kind> kind = commandKind(byte);
    if (!kind) {
        return Frame{Kind::Garbage, -1, byte};
    }
    kind_ = *kind;
    code_ = byte & kCodeMask;
    dataBytesWanted_ = kWordBytes;
    dataBytesSeen_ = 0;
    word_ = 0;
    return std::nullopt;
}

// Only codes the controller can address start a frame; anything else is line noise.
std::optional<SupplyFrameParser::Kind> SupplyFrameParser::commandKind(std::uint8_t byte)
{
    const int code = byte & kCodeMask;
    if (code < ModelTable::kLowestCode || code > ModelTable::kHighestCode) {
        return std::nullopt;
    }
    switch (byte & (kVoltageFlag | kToggleFlag)) {
    case 0:
        return Kind::SetCurrent;
    case kVoltageFlag:
        return Kind::SetVoltage;
    case kVoltageFlag | kToggleFlag:
        return Kind::SetVoltageToggle;
    default:
        return std::nullopt;
    }
}
