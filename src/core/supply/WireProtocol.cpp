#include "supply/WireProtocol.h"

namespace {

WireProtocol::Frame frameOf(int command, std::int32_t raw)
{
    WireProtocol::Frame frame{};
    frame[0] = static_cast<std::uint8_t>(command & 0xFF);
    WireProtocol::putLittleEndian(raw, frame.data() + 1, 2);
    return frame;
}

} // namespace

WireProtocol::Frame WireProtocol::setVoltageFrame(int modelCode, std::int32_t raw, bool toggle)
{
    return frameOf(modelCode + kSetVoltageOffset + (toggle ? kToggleOffset : 0), raw);
}

WireProtocol::Frame WireProtocol::setCurrentFrame(int modelCode, std::int32_t raw)
{
    return frameOf(modelCode, raw);
}

void WireProtocol::putLittleEndian(std::int32_t value, std::uint8_t* out, int count)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFFU);
    }
}

std::int32_t WireProtocol::fromLittleEndian(const std::uint8_t* in, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}
