// Any payload on a supply's set topic: a command is either refused with a
// reason or holds at least one finite value to act on, never both.
#include "mqtt/MqttCommand.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MqttCommand command
        = MqttCommand::parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!command.refusal.empty()) {
        return 0;
    }
    check(command.voltage || command.current || command.output || command.stopProgram);
    check(!command.voltage || std::isfinite(*command.voltage));
    check(!command.current || std::isfinite(*command.current));
    return 0;
}
