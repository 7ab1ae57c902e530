#pragma once

#include "readings/Reading.h"

#include <chrono>
#include <optional>
#include <string>

// The recording's text: one line per reading, a point as decimal separator
// whatever the locale, times in local time with their offset.
class CsvLine {
public:
    static std::string header();
    // The header of recordings made before lines had a program's step and
    // events; appending to one keeps its columns.
    static std::string headerWithoutProgram();
    // Ends with a newline. A reading without a link keeps only its time; the
    // mode is empty while the output is off, a setpoint while it is unknown,
    // the step while no program runs.
    static std::string format(const Reading& reading, double elapsedSeconds, bool programColumns = true);
    // "2024-05-03T14:03:27.400+03:00"; empty for a time the system cannot convert.
    static std::string isoTime(std::chrono::system_clock::time_point time);

private:
    static void appendFixed(std::string& out, double value);
    static void appendSetpoint(std::string& out, std::optional<double> value);
    static void appendProgram(std::string& out, const Reading& reading);
    static void appendPadded(std::string& out, long long value, int width);
};
