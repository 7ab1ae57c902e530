#include "program/ProgramJsonFields.h"

#include "program/ProgramKeys.h"
#include "program/ProgramNumber.h"

#include <algorithm>

bool ProgramJsonFields::fail(int line, const Phrase& problem)
{
    problem_ = ProgramKeys::atLine(line, problem);
    return false;
}

bool ProgramJsonFields::wrongKind(const JsonValue& value, const Phrase& kind)
{
    return fail(value.line, kind.arg(ProgramKeys::keyText(value.key)));
}

bool ProgramJsonFields::knownKeys(const JsonValue& object, std::initializer_list<std::string_view> keys)
{
    for (auto member = object.items.begin(); member != object.items.end(); ++member) {
        if (std::find(keys.begin(), keys.end(), member->key) == keys.end()) {
            return fail(member->keyLine,
                Phrase::translate("ProgramFile", "неизвестный ключ %1").arg(ProgramKeys::keyText(member->key)));
        }
        if (std::any_of(
                object.items.begin(), member, [&](const JsonValue& before) { return before.key == member->key; })) {
            return fail(member->keyLine,
                Phrase::translate("ProgramFile", "ключ %1 повторён").arg(ProgramKeys::keyText(member->key)));
        }
    }
    return true;
}

const JsonValue* ProgramJsonFields::required(const JsonValue& object, std::string_view key)
{
    const JsonValue* found = object.member(key);
    if (found == nullptr) {
        fail(object.line, Phrase::translate("ProgramFile", "нет ключа %1").arg(ProgramKeys::keyText(key)));
    }
    return found;
}

bool ProgramJsonFields::number(const JsonValue& value, double& out)
{
    if (value.kind != JsonValue::Kind::Number) {
        return wrongKind(value, Phrase::translate("ProgramFile", "%1 должно быть числом"));
    }
    out = value.number;
    return true;
}

bool ProgramJsonFields::seconds(const JsonValue& value, std::optional<std::chrono::milliseconds>& out)
{
    double given = 0.0;
    if (!number(value, given)) {
        return false;
    }
    out = ProgramKeys::toMillis(given);
    return out ? true
               : fail(value.line,
                   Phrase::translate("ProgramFile", "%1 должно быть от 0 до %2 с")
                       .arg(ProgramKeys::keyText(value.key))
                       .arg(QString::fromStdString(ProgramNumber::text(ProgramKeys::kMaxSeconds))));
}

bool ProgramJsonFields::text(const JsonValue& value, std::initializer_list<std::string_view> allowed)
{
    if (value.kind == JsonValue::Kind::String
        && std::find(allowed.begin(), allowed.end(), value.text) != allowed.end()) {
        return true;
    }
    // Each further choice joins the list before it.
    Phrase choices;
    for (const std::string_view one : allowed) {
        const QString key = ProgramKeys::keyText(one);
        choices = choices.isEmpty() ? Phrase::verbatim(key)
                                    : Phrase::translate("ProgramFile", "%1 или %2").arg(choices).arg(key);
    }
    return fail(value.line,
        Phrase::translate("ProgramFile", "%1 должно быть %2").arg(ProgramKeys::keyText(value.key)).arg(choices));
}
