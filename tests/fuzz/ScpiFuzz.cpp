// Any bytes from a client, cut into lines and run against a supply in memory
// whose readings may be stale and setpoints unknown, with lost commands and
// guessed setpoints told in between: no answer may span lines, no setpoint
// outside the limits may reach the supply, and a query answers exactly when
// it has a fresh reading or a known setpoint to answer with.
#include "FakeInstrument.h"
#include "remote/ScpiLineReader.h"
#include "remote/ScpiSession.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// Any double, from the bytes the line starts with.
double volts(std::string_view line)
{
    double value = 0.0;
    std::memcpy(&value, line.data(), std::min(line.size(), sizeof value));
    return value;
}

// The supply's news between lines, picked by the line's length.
void tell(ScpiSession& session, std::string_view line)
{
    const auto frame = static_cast<RemoteInstrument::Frame>(line.size() % 3);
    session.commandsDropped(frame, line.size() % 5, line.size() % 7);
    if (line.size() % 4 == 0) {
        session.unknownSetpointSent(volts(line));
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
    supply.stale = (data[0] & 4U) != 0;
    if ((data[0] & 8U) != 0) {
        supply.voltage.reset();
    }
    if ((data[0] & 16U) != 0) {
        supply.current.reset();
    }
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
            tell(session, *line);
        }
    }
    // The whole input as one line, as a longer limit would let it through.
    check(session.handleLine(bytes).find_first_of("\r\n") == std::string::npos);
    // Answered exactly when there is something true to answer with.
    const bool measured = supply.present && !supply.stale;
    const std::vector<std::pair<const char*, bool>> queries{
        {"MEAS:VOLT?", measured},
        {"MEAS:POW?", measured},
        {"OUTP:MODE?", measured},
        {"VOLT?", supply.present && supply.voltage},
        {"CURR?", supply.present && supply.current},
    };
    for (const auto& [query, answerable] : queries) {
        check(answerable != session.handleLine(query).empty());
    }
    // Every error, a guessed setpoint of any value too, reads back as one line.
    for (std::size_t i = 0; i <= ScpiErrorQueue::kCapacity; ++i) {
        check(session.handleLine("SYST:ERR?").find_first_of("\r\n") == std::string::npos);
    }
    check(supply.outOfRangeCalls == 0);
    check(supply.present || (supply.voltagesSent.empty() && supply.currentsSent.empty()));
    return 0;
}
