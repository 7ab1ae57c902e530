#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

// A setpoint slot of the shared record, in thousandths of full scale. Every
// path that queues a setpoint stores through here, so whatever it computed,
// the supply is never sent more than its full scale nor less than zero.
class RawSetpoint {
public:
    static constexpr std::int32_t kFullScale = 1000;

    void store(std::int32_t raw) { value_.store(std::clamp(raw, 0, kFullScale)); }
    std::int32_t load() const { return value_.load(); }

private:
    std::atomic<std::int32_t> value_{0};
};
