#pragma once

#include <array>
#include <cstdint>

// Frames and words of the supply's serial protocol.
class WireProtocol {
public:
    static constexpr std::uint8_t kPollByte = 100;
    static constexpr int kSetVoltageOffset = 64;
    static constexpr int kToggleOffset = 128;
    static constexpr int kRegulationFlag = 1024;
    // In a status: the output is on; the model code is below it.
    static constexpr int kOutputOnBit = 128;

    using Frame = std::array<std::uint8_t, 3>;

    static Frame setVoltageFrame(int modelCode, std::int32_t raw, bool toggle);
    static Frame setCurrentFrame(int modelCode, std::int32_t raw);

    // The low `count` bytes of value, least significant first.
    static void putLittleEndian(std::int32_t value, std::uint8_t* out, int count);
    // Bytes received, the first becoming the least significant.
    static std::int32_t fromLittleEndian(const std::uint8_t* in, int count);
};
