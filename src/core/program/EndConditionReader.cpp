#include "program/EndConditionReader.h"

#include "program/ProgramJsonFields.h"
#include "program/ProgramKeys.h"

#include <algorithm>

bool EndConditionReader::read(const JsonValue& list, std::vector<EndCondition>& ends)
{
    if (list.kind != JsonValue::Kind::Array) {
        return fields_.wrongKind(list, Phrase::translate("ProgramFile", "%1 должно быть списком [ ]"));
    }
    return std::all_of(list.items.begin(), list.items.end(),
        [&](const JsonValue& item) { return readOne(item, ends.emplace_back()); });
}

bool EndConditionReader::readOne(const JsonValue& item, EndCondition& end)
{
    const JsonValue* then = item.kind == JsonValue::Kind::Object ? item.member("then") : nullptr;
    if (item.kind != JsonValue::Kind::Object || item.items.size() != (then != nullptr ? 2U : 1U)) {
        return fields_.fail(item.line,
            Phrase::translate(
                "ProgramFile", "условие в \"until\" должно быть объектом с одним ключом и, может быть, \"then\""));
    }
    if (then != nullptr && !fields_.text(*then, {"next", "stop"})) {
        return false;
    }
    end.stops = then != nullptr && then->text == "stop";
    return readCondition(&item.items.front() == then ? item.items.back() : item.items.front(), end);
}

bool EndConditionReader::readCondition(const JsonValue& condition, EndCondition& end)
{
    const auto numbered = std::find_if(ProgramKeys::kNumberConditions.begin(), ProgramKeys::kNumberConditions.end(),
        [&](const ProgramKeys::ConditionKey& known) { return known.key == condition.key; });
    if (numbered != ProgramKeys::kNumberConditions.end()) {
        end.kind = numbered->kind;
        return fields_.number(condition, end.value);
    }
    if (condition.key == "regulation") {
        if (!fields_.text(condition, {"CV", "CC"})) {
            return false;
        }
        end.kind = condition.text == "CV" ? EndCondition::Kind::BecomesCv : EndCondition::Kind::BecomesCc;
        return true;
    }
    if (condition.key == "time_of_day") {
        return readTimeOfDay(condition, end);
    }
    return fields_.fail(condition.keyLine,
        Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(condition.key)));
}

bool EndConditionReader::readTimeOfDay(const JsonValue& condition, EndCondition& end)
{
    const std::optional<double> seconds
        = condition.kind == JsonValue::Kind::String ? ProgramKeys::timeOfDay(condition.text) : std::nullopt;
    if (!seconds) {
        return fields_.fail(condition.line,
            Phrase::translate("ProgramFile", "\"time_of_day\" должно быть временем \"ЧЧ:ММ\" или \"ЧЧ:ММ:СС\""));
    }
    end.kind = EndCondition::Kind::TimeOfDay;
    end.value = *seconds;
    return true;
}
