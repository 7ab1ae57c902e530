#pragma once

#include "program/JsonTree.h"
#include "text/Phrase.h"

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string_view>

// The checks of single values in a program's JSON document, shared by its
// readers: each that fails keeps the problem, naming the line and the key.
class ProgramJsonFields {
public:
    const Phrase& problem() const { return problem_; }

    // Each returns false, with the problem kept.
    bool fail(int line, const Phrase& problem);
    // `kind` has the key's place as %1.
    bool wrongKind(const JsonValue& value, const Phrase& kind);

    // Every member known and none twice.
    bool knownKeys(const JsonValue& object, std::initializer_list<std::string_view> keys);
    const JsonValue* required(const JsonValue& object, std::string_view key);
    bool number(const JsonValue& value, double& out);
    bool seconds(const JsonValue& value, std::optional<std::chrono::milliseconds>& out);
    bool text(const JsonValue& value, std::initializer_list<std::string_view> allowed);

private:
    Phrase problem_;
};
