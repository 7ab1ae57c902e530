#pragma once

#include <cstdint>

// An SCPI status register: the condition as last sampled, the event bits
// latched on each condition bit that rises (positive transition filter) or
// falls (negative filter) until they are read, and the enable mask that makes
// them count in the status byte. Bit 15 is never used.
class ScpiStatusRegister {
public:
    static constexpr std::uint16_t kUsedBits = 0x7FFF;

    void sample(std::uint16_t condition)
    {
        condition &= kUsedBits;
        event_ |= (condition & ~condition_ & rising_) | (~condition & condition_ & falling_);
        condition_ = condition;
    }
    std::uint16_t condition() const { return condition_; }
    // Reading the event register clears it.
    std::uint16_t takeEvent()
    {
        const std::uint16_t event = event_;
        event_ = 0;
        return event;
    }
    void clearEvent() { event_ = 0; }
    void setEnable(std::uint16_t enable) { enable_ = enable & kUsedBits; }
    std::uint16_t enable() const { return enable_; }
    bool summary() const { return (event_ & enable_) != 0; }
    void setRising(std::uint16_t filter) { rising_ = filter & kUsedBits; }
    std::uint16_t rising() const { return rising_; }
    void setFalling(std::uint16_t filter) { falling_ = filter & kUsedBits; }
    std::uint16_t falling() const { return falling_; }
    // STATus:PRESet: no enable, rises latched, falls not.
    void preset()
    {
        enable_ = 0;
        rising_ = kUsedBits;
        falling_ = 0;
    }

private:
    std::uint16_t condition_ = 0;
    std::uint16_t event_ = 0;
    std::uint16_t enable_ = 0;
    std::uint16_t rising_ = kUsedBits;
    std::uint16_t falling_ = 0;
};
