#include "readings/CsvLine.h"

#include "supply/Conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>

std::string CsvLine::header()
{
    return "time,elapsed_s,voltage_V,current_A,power_W,mode,output,set_voltage_V,set_current_A,step,event\n";
}

std::string CsvLine::headerWithoutProgram()
{
    return "time,elapsed_s,voltage_V,current_A,power_W,mode,output,set_voltage_V,set_current_A\n";
}

std::string CsvLine::format(const Reading& reading, double elapsedSeconds, bool programColumns)
{
    std::string line = isoTime(reading.time);
    line += ',';
    appendFixed(line, elapsedSeconds);
    if (!reading.linked) {
        line += ",,,,,,,";
        if (programColumns) {
            appendProgram(line, reading);
        }
        line += '\n';
        return line;
    }
    line += ',';
    appendFixed(line, reading.voltage);
    line += ',';
    appendFixed(line, reading.current);
    line += ',';
    appendFixed(line, reading.voltage * reading.current);
    // Without output there is nothing to regulate: the mode stays empty.
    if (reading.outputOn) {
        line += reading.voltageRegulated ? ",CV,on," : ",CC,on,";
    } else {
        line += ",,off,";
    }
    appendSetpoint(line, reading.setVoltage);
    line += ',';
    appendSetpoint(line, reading.setCurrent);
    if (programColumns) {
        appendProgram(line, reading);
    }
    line += '\n';
    return line;
}

// The events are words of our own, never a comma or a quote among them.
void CsvLine::appendProgram(std::string& out, const Reading& reading)
{
    out += ',';
    if (reading.programStep > 0) {
        appendPadded(out, reading.programStep, 1);
    }
    out += ',';
    out += reading.events;
}

// Non-finite values stay empty: a reader takes them as missing.
void CsvLine::appendFixed(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        return;
    }
    std::array<char, 400> buffer{}; // the widest double with three decimals needs 313
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 3);
    if (result.ec == std::errc()) {
        out.append(buffer.data(), result.ptr);
    }
}

// As the supply holds it, to the last decimal of its step; an unknown
// setpoint stays empty.
void CsvLine::appendSetpoint(std::string& out, std::optional<double> value)
{
    if (value) {
        out += Conversions::stepText(*value);
    }
}

void CsvLine::appendPadded(std::string& out, long long value, int width)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    const auto digits = static_cast<int>(result.ptr - buffer.data());
    out.append(static_cast<std::size_t>(std::max(width - digits, 0)), '0');
    out.append(buffer.data(), result.ptr);
}

std::string CsvLine::isoTime(std::chrono::system_clock::time_point time)
{
    // Integer milliseconds: converting the extreme time points between units would overflow.
    const long long total = std::chrono::floor<std::chrono::milliseconds>(time).time_since_epoch().count();
    const long long ms = ((total % 1000) + 1000) % 1000;
    const std::time_t since = (total - ms) / 1000;
    std::tm local{};
    if (::localtime_r(&since, &local) == nullptr) {
        return {};
    }
    std::string text;
    appendPadded(text, local.tm_year + 1900LL, 4);
    text += '-';
    appendPadded(text, local.tm_mon + 1LL, 2);
    text += '-';
    appendPadded(text, local.tm_mday, 2);
    text += 'T';
    appendPadded(text, local.tm_hour, 2);
    text += ':';
    appendPadded(text, local.tm_min, 2);
    text += ':';
    appendPadded(text, local.tm_sec, 2);
    text += '.';
    appendPadded(text, ms, 3);
    const long offsetMinutes = local.tm_gmtoff / 60;
    text += offsetMinutes < 0 ? '-' : '+';
    appendPadded(text, std::labs(offsetMinutes) / 60, 2);
    text += ':';
    appendPadded(text, std::labs(offsetMinutes) % 60, 2);
    return text;
}
