#pragma once

#include "text/Phrase.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One value of a JSON text with the line it is on and, in an object, its key
// and the key's line.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    int line = 0;
    bool boolean = false;
    bool integral = false;
    double number = 0.0;
    std::string text;
    std::string key; // under which its object holds it
    int keyLine = 0;
    std::vector<JsonValue> items; // an array's elements or an object's members

    const JsonValue* member(std::string_view name) const
    {
        const auto found
            = std::find_if(items.begin(), items.end(), [&](const JsonValue& item) { return item.key == name; });
        return found == items.end() ? nullptr : &*found;
    }
};

// A JSON text read into values by RapidJSON's SAX reader, without recursion
// and to a bounded depth of objects and arrays, so that what reads it can name
// the line of every key and value.
class JsonTree {
public:
    struct Parsed {
        std::optional<JsonValue> root;
        int line = 0; // where reading stopped, when it did
        Phrase problem; // why, without the line
    };

    // Stops with tooDeep as the problem at an object or array deeper than maxDepth.
    static Parsed parse(std::string_view text, int maxDepth, const Phrase& tooDeep);
    // The line of a byte, 1 for the first.
    static int lineAt(std::string_view text, std::size_t offset);
};
