// Any bytes from a client, cut into lines and run against two supplies in
// memory, the first's readings perhaps stale and setpoints unknown: no answer
// may span lines, no setpoint outside the limits may reach a supply, and a
// query to the first answers exactly when it has a fresh reading or a known
// setpoint to answer with.
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
    supply.voltage = (data[0] & 8U) != 0 ? std::nullopt : supply.voltage;
    supply.current = (data[0] & 16U) != 0 ? std::nullopt : supply.current;
    // Frames that never reach the line: *OPC? and *WAI wait for good.
    supply.heldBack = (data[0] & 32U) != 0;
    const std::size_t chunk = 1 + data[1] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    FakeInstrument other;
    ScpiSession session(RemoteChannels({&supply, &other}), "0.1.0");
    // Any double as the guessed setpoint.
    double volts = 0.0;
    std::memcpy(&volts, data, std::min(size, sizeof volts));
    session.unknownSetpointSent(volts, data[1]);
    ScpiLineReader reader(64, 256);
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        for (const auto& line : reader.feed(bytes.substr(at, chunk))) {
            if (!line) {
                session.lineTooLong();
                continue;
            }
            check(line->size() <= 64 + 256);
            if (session.waiting()) {
                check(session.resume().waiting);
            }
            const ScpiSession::Answer answer = session.handleLine(*line);
            check(answer.text.find_first_of("\r\n") == std::string::npos);
            check(!answer.waiting || answer.text.empty());
            // Losses on every frame value and channel, the line's commands among them or not.
            session.commandsDropped(static_cast<Quantity>(line->size() % 3), 0, data[1], data[1] % 4);
        }
    }
    // The whole input as one line, as a longer limit would let it through.
    check(session.handleLine(bytes).text.find_first_of("\r\n") == std::string::npos);
    session.finishWithoutWaiting();
    supply.heldBack = false;
    check(session.handleLine("INST:NSEL 1;INST:NSEL?").text == "1");
    const bool measured = supply.present && !supply.stale;
    const std::vector<std::pair<const char*, bool>> queries{{"MEAS:POW?", measured}, {"OUTP:MODE?", measured},
        {"VOLT?", supply.present && supply.voltage}, {"CURR?", supply.present && supply.current}};
    for (const auto& [query, answerable] : queries) {
        check(answerable != session.handleLine(query).text.empty());
    }
    check(supply.outOfRangeCalls == 0 && other.outOfRangeCalls == 0);
    check(supply.present || (supply.voltagesSent.empty() && supply.currentsSent.empty()));
    return 0;
}
