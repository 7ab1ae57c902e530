#pragma once

#include "program/EndCondition.h"
#include "program/JsonTree.h"

#include <vector>

class ProgramJsonFields;

// A step's "until" list: each condition an object of one key, and "then"
// when it stops the program. A problem is kept by the fields' checks.
class EndConditionReader {
public:
    explicit EndConditionReader(ProgramJsonFields& fields)
        : fields_(fields)
    {
    }

    bool read(const JsonValue& list, std::vector<EndCondition>& ends);

private:
    bool readOne(const JsonValue& item, EndCondition& end);
    bool readCondition(const JsonValue& condition, EndCondition& end);
    bool readTimeOfDay(const JsonValue& condition, EndCondition& end);

    ProgramJsonFields& fields_;
};
