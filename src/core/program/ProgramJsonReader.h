#pragma once

#include "program/JsonTree.h"
#include "program/Program.h"
#include "program/ProgramJsonFields.h"
#include "text/Phrase.h"

#include <chrono>
#include <optional>
#include <vector>

// A program from the tree of its JSON document. Refuses unknown keys, newer
// versions and values of the wrong kind, naming the line and the key; counts
// the steps, so one reader reads one document.
class ProgramJsonReader {
public:
    std::optional<Program> read(const JsonValue& root);
    const Phrase& problem() const { return fields_.problem(); }

private:
    bool readDocument(const JsonValue& root, Program& program);
    bool readVersion(const JsonValue& version);
    bool readItems(const JsonValue& list, int depth, std::vector<ProgramNode>& items);
    bool readGroup(const JsonValue& item, int depth, ProgramGroup& group);
    bool readStep(const JsonValue& item, ProgramStep& step);
    bool readStepMember(
        const JsonValue& member, ProgramStep& step, std::optional<std::chrono::milliseconds>& maxDuration);
    bool completeStep(
        const JsonValue& item, ProgramStep& step, const std::optional<std::chrono::milliseconds>& maxDuration);
    bool readRamp(const JsonValue& ramp, ProgramStep::Ramp& out);
    bool readLimits(const JsonValue& object, ProtectionLimits& limits);
    bool readBattery(const JsonValue& object, ProgramBattery& battery);

    ProgramJsonFields fields_;
    int steps_ = 0;
};
