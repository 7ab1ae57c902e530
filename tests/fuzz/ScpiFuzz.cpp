// Any bytes from a client, cut into lines and run against a supply in memory:
// no answer may span lines, and no setpoint outside the limits may reach the supply.
#include "FakeInstrument.h"
#include "remote/ScpiLineReader.h"
#include "remote/ScpiSession.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

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
    if (size < 2) {
        return 0;
    }
    FakeInstrument supply;
    supply.present = (data[0] & 1U) != 0;
    supply.output = (data[0] & 2U) != 0;
    const std::size_t chunk = 1 + data[1] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    ScpiSession session(supply, "0.1.0");
    ScpiLineReader reader(64);
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        for (const auto& line : reader.feed(bytes.substr(at, chunk))) {
            if (!line) {
                session.lineTooLong();
                continue;
            }
            check(line->size() <= 64 && line->find('\n') == std::string::npos);
            const std::string answer = session.handleLine(*line);
            check(answer.find_first_of("\r\n") == std::string::npos);
        }
    }
    // The whole input as one line, as a longer limit would let it through.
    check(session.handleLine(bytes).find_first_of("\r\n") == std::string::npos);
    check(supply.outOfRangeCalls == 0);
    check(supply.present || (supply.voltagesSent.empty() && supply.currentsSent.empty()));
    return 0;
}
