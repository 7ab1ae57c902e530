#pragma once

#include "program/ProtectionLimits.h"
#include "remote/ScpiStatusRegister.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// One client's status model after IEEE 488.2 and SCPI: the Standard Event
// Status Register with its enable, the service request enable, and the
// OPERation and QUEStionable registers whose summaries reach the status byte.
// With several channels QUEStionable holds every channel's bits, and each
// channel's own are in its INSTrument:ISUMmary register besides.
class ScpiStatus {
public:
    // Standard Event Status Register bits.
    enum Event : std::uint8_t {
        OperationComplete = 1 << 0,
        QueryError = 1 << 2,
        DeviceError = 1 << 3,
        ExecutionError = 1 << 4,
        CommandError = 1 << 5,
        PowerOn = 1 << 7,
    };
    // Status byte bits.
    enum Summary : std::uint8_t {
        ErrorQueued = 1 << 2,
        Questionable = 1 << 3,
        MessageAvailable = 1 << 4,
        EventStatus = 1 << 5,
        ServiceRequest = 1 << 6,
        Operation = 1 << 7,
    };
    // OPERation condition bits, as common programmable supplies set them.
    static constexpr std::uint16_t kConstantVoltage = 1 << 8;
    static constexpr std::uint16_t kConstantCurrent = 1 << 10;
    // SWEeping: a list or other program runs (not while paused).
    static constexpr std::uint16_t kProgramRunning = 1 << 3;
    // QUEStionable bits of the standard's: a protection limit has tripped.
    static constexpr std::uint16_t kVoltageTripped = 1 << 0;
    static constexpr std::uint16_t kCurrentTripped = 1 << 1;
    static constexpr std::uint16_t kPowerTripped = 1 << 3;
    // QUEStionable condition bits of this program's own.
    static constexpr std::uint16_t kReadingStale = 1 << 9;
    static constexpr std::uint16_t kLinkLost = 1 << 10;

    // The event bit an error of this code sets: its class by the standard's ranges.
    static std::uint8_t eventOf(int errorCode);
    // The QUEStionable bit of a latched trip; none for charge, energy and time.
    static std::uint16_t tripBitOf(std::optional<ProtectionLimits::Limit> trip);

    explicit ScpiStatus(std::size_t channels = 1);

    void noteError(int errorCode) { events_ |= eventOf(errorCode); }
    void noteOperationComplete() { events_ |= OperationComplete; }
    // *ESR?: reading the register clears it.
    std::uint8_t takeEvents();
    void setEventEnable(std::uint8_t enable) { eventEnable_ = enable; }
    std::uint8_t eventEnable() const { return eventEnable_; }
    // Bit 6 of the service request enable is never used.
    void setServiceEnable(std::uint8_t enable) { serviceEnable_ = enable & ~ServiceRequest; }
    std::uint8_t serviceEnable() const { return serviceEnable_; }
    std::uint8_t statusByte(bool errorQueued, bool messageAvailable) const;

    ScpiStatusRegister& operation() { return operation_; }
    ScpiStatusRegister& questionable() { return questionable_; }
    // Channel 1 to the count; with one channel the QUEStionable register itself.
    ScpiStatusRegister& instrumentSummary(std::size_t channel);
    // Each channel's QUEStionable conditions, channel 1 first.
    void sampleQuestionable(const std::vector<std::uint16_t>& channels);

    // *CLS: the event registers; the enables stay.
    void clear();
    // STATus:PRESet: OPERation's and QUEStionable's enables and filters as at power on.
    void preset();

private:
    std::uint8_t events_ = PowerOn;
    std::uint8_t eventEnable_ = 0;
    std::uint8_t serviceEnable_ = 0;
    ScpiStatusRegister operation_;
    ScpiStatusRegister questionable_;
    // Empty with one channel.
    std::vector<ScpiStatusRegister> summaries_;
};
