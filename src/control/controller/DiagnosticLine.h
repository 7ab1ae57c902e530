#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The diagnostic log's line for one reply: the time, whether a supply was
// identified before it, and the values the worker collected.
QString diagnosticLine(const std::vector<std::int32_t>& values, bool identified);
