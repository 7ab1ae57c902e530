#pragma once

#include <string>
#include <string_view>

// One entry of the error queue: an SCPI code and its text, with an optional
// detail after a semicolon.
struct ScpiError {
    int code = 0;
    std::string text;

    static ScpiError commandError(std::string_view detail = {});
    static ScpiError dataTypeError();
    static ScpiError parameterNotAllowed();
    static ScpiError missingParameter();
    static ScpiError undefinedHeader();
    static ScpiError headerSuffixOutOfRange();
    static ScpiError invalidSuffix();
    static ScpiError executionError(std::string_view detail);
    static ScpiError settingsConflict(std::string_view detail);
    static ScpiError dataOutOfRange();
    static ScpiError tooMuchData();
    static ScpiError illegalParameterValue();
    static ScpiError fileNameNotFound();
    static ScpiError dataStale();
    static ScpiError queueOverflow();
    // A device-specific event: the output switch had to carry a voltage
    // setpoint that was not known, and this is the one sent.
    static ScpiError unknownSetpointSent(double volts);
    // An output-on refused while a protection trip is latched.
    static ScpiError tripLatched();
    // A command refused while the supply's own On/Off switch is on.
    static ScpiError panelSwitch();

    // As SYSTem:ERRor? answers it: -113,"Undefined header".
    std::string answer() const;
};
