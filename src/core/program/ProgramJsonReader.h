#pragma once

#include "program/JsonTree.h"
#include "program/Program.h"
#include "text/Phrase.h"

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

// A program from the tree of its JSON document. Refuses unknown keys, newer
// versions and values of the wrong kind, naming the line and the key; counts
// the steps, so one reader reads one document.
class ProgramJsonReader {
public:
    std::optional<Program> read(const JsonValue& root);
    const Phrase& problem() const { return problem_; }

private:
    bool fail(int line, const Phrase& problem);
    // `kind` has the key's place as %1.
    bool wrongKind(const JsonValue& value, const Phrase& kind);

    bool knownKeys(const JsonValue& object, std::initializer_list<std::string_view> keys);
    const JsonValue* required(const JsonValue& object, std::string_view key);
    bool number(const JsonValue& value, double& out);
    bool seconds(const JsonValue& value, std::optional<std::chrono::milliseconds>& out);
    bool text(const JsonValue& value, std::initializer_list<std::string_view> allowed);

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
    bool readConditions(const JsonValue& list, std::vector<EndCondition>& ends);
    bool readLimits(const JsonValue& object, ProtectionLimits& limits);
    bool readBattery(const JsonValue& object, ProgramBattery& battery);

    Phrase problem_;
    int steps_ = 0;
};
