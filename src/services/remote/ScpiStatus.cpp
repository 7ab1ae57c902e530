#include "remote/ScpiStatus.h"

ScpiStatus::ScpiStatus(std::size_t channels)
    : summaries_(channels > 1 ? channels : 0)
{
}

std::uint8_t ScpiStatus::eventOf(int errorCode)
{
    if (errorCode > 0) {
        return DeviceError;
    }
    if (errorCode <= -100 && errorCode > -200) {
        return CommandError;
    }
    if (errorCode <= -200 && errorCode > -300) {
        return ExecutionError;
    }
    if (errorCode <= -300 && errorCode > -400) {
        return DeviceError;
    }
    if (errorCode <= -400 && errorCode > -500) {
        return QueryError;
    }
    return 0;
}

std::uint16_t ScpiStatus::tripBitOf(std::optional<ProtectionLimits::Limit> trip)
{
    switch (trip.value_or(ProtectionLimits::Limit::Time)) {
    case ProtectionLimits::Limit::Voltage:
        return kVoltageTripped;
    case ProtectionLimits::Limit::Current:
        return kCurrentTripped;
    case ProtectionLimits::Limit::Power:
        return kPowerTripped;
    default:
        return 0;
    }
}

std::uint8_t ScpiStatus::takeEvents()
{
    const std::uint8_t events = events_;
    events_ = 0;
    return events;
}

std::uint8_t ScpiStatus::statusByte(bool errorQueued, bool messageAvailable) const
{
    std::uint8_t status = 0;
    status |= errorQueued ? ErrorQueued : 0;
    status |= questionable_.summary() ? Questionable : 0;
    status |= messageAvailable ? MessageAvailable : 0;
    status |= (events_ & eventEnable_) != 0 ? EventStatus : 0;
    status |= operation_.summary() ? Operation : 0;
    status |= (status & serviceEnable_) != 0 ? ServiceRequest : 0;
    return status;
}

ScpiStatusRegister& ScpiStatus::instrumentSummary(std::size_t channel)
{
    return summaries_.empty() ? questionable_ : summaries_.at(channel - 1);
}

void ScpiStatus::sampleQuestionable(const std::vector<std::uint16_t>& channels)
{
    std::uint16_t any = 0;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        any |= channels[i];
        if (i < summaries_.size()) {
            summaries_[i].sample(channels[i]);
        }
    }
    questionable_.sample(any);
}

void ScpiStatus::clear()
{
    events_ = 0;
    operation_.clearEvent();
    questionable_.clearEvent();
    for (ScpiStatusRegister& summary : summaries_) {
        summary.clearEvent();
    }
}

void ScpiStatus::preset()
{
    operation_.preset();
    questionable_.preset();
    for (ScpiStatusRegister& summary : summaries_) {
        summary.preset();
    }
}
