#include "program/ProgramFile.h"

#include "program/JsonTree.h"
#include "program/ProgramNumber.h"
#include "settings/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <utility>

namespace {

using Millis = std::chrono::milliseconds;

// The longest duration a file may give, about 31 years: in milliseconds it
// stays exact in a double.
constexpr double kMaxSeconds = 1e9;
// Objects and arrays: each group is two levels, around them the document,
// its list, a step, its conditions and one condition.
constexpr int kMaxJsonDepth = 2 * ProgramFile::kMaxGroupDepth + 6;
constexpr std::string_view kFormat = "tendrel-program";
constexpr std::string_view kCsvHeader = "dwell_s,voltage_V,current_A";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

QString tr(const char* text)
{
    return QCoreApplication::translate("ProgramFile", text);
}

QString keyText(std::string_view key)
{
    return QLatin1Char('"') + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) + QLatin1Char('"');
}

QString atLine(int line, const QString& problem)
{
    return tr("строка %1: %2").arg(line).arg(problem);
}

std::string_view withoutMark(const QByteArray& bytes)
{
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    return text;
}

// What no program file holds, before anything is parsed.
std::optional<QString> unreadable(std::string_view text)
{
    if (text.size() > static_cast<std::size_t>(ProgramFile::kMaxBytes)) {
        return tr("файл больше 1 МиБ");
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        return atLine(JsonTree::lineAt(text, zero), tr("нулевой байт"));
    }
    return std::nullopt;
}

std::optional<Millis> toMillis(double seconds)
{
    if (!(seconds >= 0.0 && seconds <= kMaxSeconds)) {
        return std::nullopt;
    }
    return Millis(std::llround(seconds * 1000.0));
}

// --- From the tree to the program ---

struct ConditionKey {
    std::string_view key;
    EndCondition::Kind kind;
};

constexpr std::array<ConditionKey, 7> kNumberConditions{{
    {"current_at_most_A", EndCondition::Kind::CurrentAtMost},
    {"current_at_least_A", EndCondition::Kind::CurrentAtLeast},
    {"voltage_at_most_V", EndCondition::Kind::VoltageAtMost},
    {"voltage_at_least_V", EndCondition::Kind::VoltageAtLeast},
    {"charge_Ah", EndCondition::Kind::Charge},
    {"energy_Wh", EndCondition::Kind::Energy},
    {"voltage_drop_V", EndCondition::Kind::VoltageDrop},
}};

// "HH:MM" or "HH:MM:SS" as seconds after midnight.
std::optional<double> timeOfDay(std::string_view text)
{
    if (text.size() != 5 && text.size() != 8) {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    constexpr int kLimits[3] = {24, 60, 60};
    for (std::size_t part = 0; part * 3 < text.size(); ++part) {
        const char* begin = text.data() + part * 3;
        const bool separated = part == 0 || text[part * 3 - 1] == ':';
        const auto [end, error] = std::from_chars(begin, begin + 2, parts[part]);
        if (!separated || error != std::errc{} || end != begin + 2 || begin[0] == '-' || begin[0] == '+'
            || parts[part] >= kLimits[part]) {
            return std::nullopt;
        }
    }
    return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
}

class JsonProgramReader {
public:
    std::optional<Program> read(const JsonValue& root)
    {
        Program program;
        if (readDocument(root, program)) {
            return program;
        }
        return std::nullopt;
    }
    const QString& problem() const { return problem_; }

private:
    bool fail(int line, const QString& problem)
    {
        problem_ = atLine(line, problem);
        return false;
    }
    bool wrongKind(const JsonValue& value, const char* kind)
    {
        return fail(value.line, tr(kind).arg(keyText(value.key)));
    }

    // Every member known and none twice.
    bool knownKeys(const JsonValue& object, std::initializer_list<std::string_view> keys)
    {
        for (auto member = object.items.begin(); member != object.items.end(); ++member) {
            if (std::find(keys.begin(), keys.end(), member->key) == keys.end()) {
                return fail(member->keyLine, tr("неизвестный ключ %1").arg(keyText(member->key)));
            }
            if (std::any_of(
                    object.items.begin(), member, [&](const JsonValue& before) { return before.key == member->key; })) {
                return fail(member->keyLine, tr("ключ %1 повторён").arg(keyText(member->key)));
            }
        }
        return true;
    }
    const JsonValue* required(const JsonValue& object, std::string_view key)
    {
        const JsonValue* found = object.member(key);
        if (found == nullptr) {
            fail(object.line, tr("нет ключа %1").arg(keyText(key)));
        }
        return found;
    }
    bool number(const JsonValue& value, double& out)
    {
        if (value.kind != JsonValue::Kind::Number) {
            return wrongKind(value, "%1 должно быть числом");
        }
        out = value.number;
        return true;
    }
    bool seconds(const JsonValue& value, std::optional<Millis>& out)
    {
        double given = 0.0;
        if (!number(value, given)) {
            return false;
        }
        out = toMillis(given);
        return out ? true
                   : fail(value.line,
                       tr("%1 должно быть от 0 до %2 с")
                           .arg(keyText(value.key), QString::fromStdString(ProgramNumber::text(kMaxSeconds))));
    }
    bool text(const JsonValue& value, std::initializer_list<std::string_view> allowed)
    {
        if (value.kind == JsonValue::Kind::String
            && std::find(allowed.begin(), allowed.end(), value.text) != allowed.end()) {
            return true;
        }
        QStringList spelled;
        for (const std::string_view one : allowed) {
            spelled << keyText(one);
        }
        return fail(value.line, tr("%1 должно быть %2").arg(keyText(value.key), spelled.join(tr(" или "))));
    }

    bool readDocument(const JsonValue& root, Program& program)
    {
        if (root.kind != JsonValue::Kind::Object) {
            return fail(root.line, tr("документ должен быть объектом JSON"));
        }
        const JsonValue* format = required(root, "format");
        if (format == nullptr || !text(*format, {kFormat})) {
            return false;
        }
        // Before the keys: a newer version may have keys this one does not know.
        const JsonValue* version = required(root, "version");
        if (version == nullptr) {
            return false;
        }
        if (version->kind != JsonValue::Kind::Number || !version->integral) {
            return wrongKind(*version, "%1 должно быть целым числом");
        }
        const QString given = QString::fromStdString(ProgramNumber::text(version->number));
        if (version->number > ProgramFile::kVersion) {
            return fail(version->line,
                tr("версия %1 новее, чем эта программа умеет читать (%2)").arg(given).arg(ProgramFile::kVersion));
        }
        if (version->number < 1) {
            return fail(version->line, tr("версии %1 не бывает, первая — 1").arg(given));
        }
        if (!knownKeys(root, {"format", "version", "on_link_return", "steps"})) {
            return false;
        }
        if (const JsonValue* linkReturn = root.member("on_link_return")) {
            if (!text(*linkReturn, {"stop", "resume"})) {
                return false;
            }
            program.onLinkReturn
                = linkReturn->text == "resume" ? Program::LinkReturn::Resume : Program::LinkReturn::Stop;
        }
        const JsonValue* steps = required(root, "steps");
        return steps != nullptr && readItems(*steps, 0, program.body.items);
    }

    bool readItems(const JsonValue& list, int depth, std::vector<ProgramNode>& items)
    {
        if (list.kind != JsonValue::Kind::Array) {
            return wrongKind(list, "%1 должно быть списком [ ]");
        }
        for (const JsonValue& item : list.items) {
            if (item.kind != JsonValue::Kind::Object) {
                return fail(item.line, tr("элемент \"steps\" должен быть объектом { }"));
            }
            ProgramNode node;
            if (item.member("repeat") != nullptr || item.member("steps") != nullptr) {
                if (!readGroup(item, depth + 1, node.content.emplace<ProgramGroup>())) {
                    return false;
                }
            } else if (!readStep(item, node.content.emplace<ProgramStep>())) {
                return false;
            }
            items.push_back(std::move(node));
        }
        return true;
    }

    bool readGroup(const JsonValue& item, int depth, ProgramGroup& group)
    {
        if (depth > ProgramFile::kMaxGroupDepth) {
            return fail(item.line, tr("групп вложено больше %1").arg(ProgramFile::kMaxGroupDepth));
        }
        if (!knownKeys(item, {"repeat", "steps"})) {
            return false;
        }
        const JsonValue* repeat = required(item, "repeat");
        const JsonValue* steps = required(item, "steps");
        if (repeat == nullptr || steps == nullptr) {
            return false;
        }
        if (repeat->kind == JsonValue::Kind::String && repeat->text == "until_stopped") {
            group.count.reset();
        } else if (repeat->kind == JsonValue::Kind::Number && repeat->integral && repeat->number >= 1
            && repeat->number <= INT_MAX) {
            group.count = static_cast<int>(repeat->number);
        } else {
            return fail(
                repeat->line, tr("\"repeat\" должно быть целым числом от 1 до %1 или \"until_stopped\"").arg(INT_MAX));
        }
        return readItems(*steps, depth, group.items);
    }

    bool readStep(const JsonValue& item, ProgramStep& step)
    {
        if (++steps_ > ProgramFile::kMaxSteps) {
            return fail(item.line, tr("шагов больше %1").arg(ProgramFile::kMaxSteps));
        }
        if (!knownKeys(
                item, {"name", "voltage_V", "current_A", "output", "ramp", "duration_s", "until", "max_duration_s"})) {
            return false;
        }
        std::optional<Millis> maxDuration;
        for (const JsonValue& member : item.items) {
            double value = 0.0;
            const std::string& key = member.key;
            bool read = true;
            if (key == "name") {
                read = member.kind == JsonValue::Kind::String ? (step.name = member.text, true)
                                                              : wrongKind(member, "%1 должно быть строкой");
            } else if (key == "voltage_V" || key == "current_A") {
                read = number(member, value);
                (key == "voltage_V" ? step.volts : step.amperes) = value;
            } else if (key == "output") {
                read = member.kind == JsonValue::Kind::Bool ? (step.output = member.boolean, true)
                                                            : wrongKind(member, "%1 должно быть true или false");
            } else if (key == "ramp") {
                ProgramStep::Ramp ramp;
                read = readRamp(member, ramp);
                step.ramp = ramp;
            } else if (key == "duration_s") {
                read = seconds(member, step.duration);
            } else if (key == "until") {
                read = readConditions(member, step.ends);
            } else {
                read = seconds(member, maxDuration);
            }
            if (!read) {
                return false;
            }
        }
        if (const JsonValue* ramp = item.member("ramp")) {
            if (!step.duration) {
                return fail(ramp->keyLine, tr("у \"ramp\" нет \"duration_s\": плавному изменению нужна длительность"));
            }
            const bool voltage = step.ramp->quantity == ProgramStep::Ramp::Quantity::Voltage;
            if (voltage ? step.volts.has_value() : step.amperes.has_value()) {
                return fail(ramp->keyLine,
                    tr("\"ramp\" и %1 задают одно и то же").arg(keyText(voltage ? "voltage_V" : "current_A")));
            }
        }
        if (!step.ends.empty() && !maxDuration) {
            return fail(
                item.member("until")->keyLine, tr("у \"until\" нет \"max_duration_s\": условие может не наступить"));
        }
        step.maxDuration = maxDuration ? *maxDuration : step.duration.value_or(Millis(0));
        return true;
    }

    bool readRamp(const JsonValue& ramp, ProgramStep::Ramp& out)
    {
        if (ramp.kind != JsonValue::Kind::Object) {
            return wrongKind(ramp, "%1 должно быть объектом { }");
        }
        if (!knownKeys(ramp, {"quantity", "from", "to"})) {
            return false;
        }
        const JsonValue* quantity = required(ramp, "quantity");
        const JsonValue* from = required(ramp, "from");
        const JsonValue* to = required(ramp, "to");
        if (quantity == nullptr || from == nullptr || to == nullptr || !text(*quantity, {"voltage", "current"})) {
            return false;
        }
        out.quantity
            = quantity->text == "voltage" ? ProgramStep::Ramp::Quantity::Voltage : ProgramStep::Ramp::Quantity::Current;
        return number(*from, out.from) && number(*to, out.to);
    }

    bool readConditions(const JsonValue& list, std::vector<EndCondition>& ends)
    {
        if (list.kind != JsonValue::Kind::Array) {
            return wrongKind(list, "%1 должно быть списком [ ]");
        }
        for (const JsonValue& item : list.items) {
            if (item.kind != JsonValue::Kind::Object || item.items.size() != 1) {
                return fail(item.line, tr("условие в \"until\" должно быть объектом с одним ключом"));
            }
            const JsonValue& condition = item.items.front();
            EndCondition& end = ends.emplace_back();
            const auto numbered = std::find_if(kNumberConditions.begin(), kNumberConditions.end(),
                [&](const ConditionKey& known) { return known.key == condition.key; });
            if (numbered != kNumberConditions.end()) {
                end.kind = numbered->kind;
                if (!number(condition, end.value)) {
                    return false;
                }
            } else if (condition.key == "regulation") {
                if (!text(condition, {"CV", "CC"})) {
                    return false;
                }
                end.kind = condition.text == "CV" ? EndCondition::Kind::BecomesCv : EndCondition::Kind::BecomesCc;
            } else if (condition.key == "time_of_day") {
                const std::optional<double> seconds
                    = condition.kind == JsonValue::Kind::String ? timeOfDay(condition.text) : std::nullopt;
                if (!seconds) {
                    return fail(condition.line, tr("\"time_of_day\" должно быть временем \"ЧЧ:ММ\" или \"ЧЧ:ММ:СС\""));
                }
                end.kind = EndCondition::Kind::TimeOfDay;
                end.value = *seconds;
            } else {
                return fail(condition.keyLine, tr("неизвестный ключ %1").arg(keyText(condition.key)));
            }
        }
        return true;
    }

    QString problem_;
    int steps_ = 0;
};

// --- Writing ---

void appendString(std::string& out, std::string_view text)
{
    constexpr std::string_view kHex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// A measured quantity: with a point even when whole, as 5.0.
void appendValue(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += "null"; // what JSON cannot hold is refused when read back
        return;
    }
    const std::string text = ProgramNumber::text(value);
    out += text;
    if (text.find_first_of(".e") == std::string::npos) {
        out += ".0";
    }
}

void appendSeconds(std::string& out, Millis duration)
{
    out += ProgramNumber::text(static_cast<double>(duration.count()) / 1000.0);
}

void appendKey(std::string& out, std::string_view key, bool& first)
{
    out += first ? "" : ", ";
    first = false;
    appendString(out, key);
    out += ": ";
}

void appendCondition(std::string& out, const EndCondition& end)
{
    out += '{';
    bool first = true;
    const auto numbered = std::find_if(kNumberConditions.begin(), kNumberConditions.end(),
        [&](const ConditionKey& known) { return known.kind == end.kind; });
    if (numbered != kNumberConditions.end()) {
        appendKey(out, numbered->key, first);
        appendValue(out, end.value);
    } else if (end.kind == EndCondition::Kind::TimeOfDay) {
        appendKey(out, "time_of_day", first);
        const long seconds = std::isfinite(end.value) ? std::lround(std::clamp(end.value, -1.0, 86400.0)) : -1;
        char text[16];
        const int hours = static_cast<int>(seconds / 3600);
        const int minutes = static_cast<int>(seconds / 60 % 60);
        const int rest = static_cast<int>(seconds % 60);
        const int length = seconds % 60 == 0 ? std::snprintf(text, sizeof text, "%02d:%02d", hours, minutes)
                                             : std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, rest);
        appendString(out, std::string_view(text, static_cast<std::size_t>(std::max(length, 0))));
    } else {
        appendKey(out, "regulation", first);
        appendString(out, end.kind == EndCondition::Kind::BecomesCv ? "CV" : "CC");
    }
    out += '}';
}

void appendStep(std::string& out, const ProgramStep& step)
{
    out += '{';
    bool first = true;
    if (!step.name.empty()) {
        appendKey(out, "name", first);
        appendString(out, step.name);
    }
    if (step.volts) {
        appendKey(out, "voltage_V", first);
        appendValue(out, *step.volts);
    }
    if (step.amperes) {
        appendKey(out, "current_A", first);
        appendValue(out, *step.amperes);
    }
    if (step.output) {
        appendKey(out, "output", first);
        out += *step.output ? "true" : "false";
    }
    if (step.ramp) {
        appendKey(out, "ramp", first);
        out += step.ramp->quantity == ProgramStep::Ramp::Quantity::Voltage ? R"({"quantity": "voltage", "from": )"
                                                                           : R"({"quantity": "current", "from": )";
        appendValue(out, step.ramp->from);
        out += R"(, "to": )";
        appendValue(out, step.ramp->to);
        out += '}';
    }
    if (step.duration) {
        appendKey(out, "duration_s", first);
        appendSeconds(out, *step.duration);
    }
    if (!step.ends.empty()) {
        appendKey(out, "until", first);
        out += '[';
        for (const EndCondition& end : step.ends) {
            out += &end == &step.ends.front() ? "" : ", ";
            appendCondition(out, end);
        }
        out += ']';
    }
    if (!step.ends.empty() || step.maxDuration != step.duration.value_or(Millis(0))) {
        appendKey(out, "max_duration_s", first);
        appendSeconds(out, step.maxDuration);
    }
    out += '}';
}

void appendItems(std::string& out, const std::vector<ProgramNode>& items, std::size_t level)
{
    if (items.empty()) {
        out += "[]";
        return;
    }
    out += "[\n";
    for (const ProgramNode& node : items) {
        out.append(2 * (level + 1), ' ');
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            appendStep(out, *step);
        } else {
            const auto& group = std::get<ProgramGroup>(node.content);
            out += R"({"repeat": )";
            out += group.count ? std::to_string(*group.count) : R"("until_stopped")";
            out += R"(, "steps": )";
            appendItems(out, group.items, level + 1);
            out += '}';
        }
        out += &node == &items.back() ? "\n" : ",\n";
    }
    out.append(2 * level, ' ');
    out += ']';
}

// --- The CSV list ---

std::string_view trimmed(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isHeader(std::string_view line)
{
    std::string lower;
    for (const char c : line) {
        if (c != ' ' && c != '\t') {
            lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return lower == "dwell_s,voltage_v,current_a";
}

std::optional<double> csvNumber(std::string_view field)
{
    double value = 0.0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Why a step cannot be a row, or empty.
QString notARow(const ProgramStep& step)
{
    if (!step.ends.empty()) {
        return tr("есть условия окончания, а в списке шаг длится своё время");
    }
    if (step.ramp) {
        return tr("плавное изменение список не передаёт");
    }
    if (!step.volts || !step.amperes) {
        return step.volts ? tr("ток остаётся прежним, а строка списка задаёт напряжение и ток")
                          : tr("напряжение остаётся прежним, а строка списка задаёт напряжение и ток");
    }
    if (step.output != true) {
        return step.output ? tr("выход выключается, а в списке выход всегда включён")
                           : tr("выход остаётся прежним, а в списке выход всегда включён");
    }
    if (!step.duration) {
        return tr("нет длительности");
    }
    return {};
}

// The first step or group the list cannot carry; `number` counts the steps.
QString notAList(const ProgramGroup& group, int& number)
{
    if (!group.count) {
        return tr("группа после шага %1 повторяется до остановки, а список повторять не умеет").arg(number);
    }
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            ++number;
            if (const QString why = notARow(*step); !why.isEmpty()) {
                return tr("шаг %1: %2").arg(number).arg(why);
            }
        } else if (QString why = notAList(std::get<ProgramGroup>(node.content), number); !why.isEmpty()) {
            return why;
        }
    }
    return {};
}

double rowsOf(const ProgramGroup& group)
{
    double rows = 0.0;
    for (const ProgramNode& node : group.items) {
        const auto* inner = std::get_if<ProgramGroup>(&node.content);
        rows += inner != nullptr ? rowsOf(*inner) : 1.0;
    }
    return rows * std::max(group.count.value_or(1), 0);
}

// Each group is written once and then repeated, so that empty groups repeated
// often cost nothing; the rows are counted and bounded before.
std::string rowsText(const ProgramGroup& group)
{
    std::string once;
    for (const ProgramNode& node : group.items) {
        if (const auto* step = std::get_if<ProgramStep>(&node.content)) {
            const Millis dwell
                = step->maxDuration > Millis(0) ? std::min(*step->duration, step->maxDuration) : *step->duration;
            once += ProgramNumber::text(static_cast<double>(dwell.count()) / 1000.0) + ','
                + ProgramNumber::text(*step->volts) + ',' + ProgramNumber::text(*step->amperes) + '\n';
        } else {
            once += rowsText(std::get<ProgramGroup>(node.content));
        }
    }
    if (once.empty()) {
        return once;
    }
    std::string rows;
    for (int round = 0; round < group.count.value_or(1); ++round) {
        rows += once;
    }
    return rows;
}

QString named(const QString& path, const QString& problem)
{
    return tr("«%1»: %2").arg(path, problem);
}

bool isCsv(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

} // namespace

ProgramFile::Read ProgramFile::fromJson(const QByteArray& bytes)
{
    const std::string_view text = withoutMark(bytes);
    if (std::optional<QString> problem = unreadable(text)) {
        return {std::nullopt, *problem};
    }
    const JsonTree::Parsed parsed = JsonTree::parse(
        text, kMaxJsonDepth, tr("вложено глубже, чем допускают %1 вложенных групп").arg(ProgramFile::kMaxGroupDepth));
    if (!parsed.root) {
        return {std::nullopt, atLine(parsed.line, parsed.problem)};
    }
    JsonProgramReader programReader;
    std::optional<Program> program = programReader.read(*parsed.root);
    return {std::move(program), programReader.problem()};
}

QByteArray ProgramFile::toJson(const Program& program)
{
    std::string out = "{\n  \"format\": \"tendrel-program\",\n  \"version\": " + std::to_string(kVersion) + ",\n";
    out += program.onLinkReturn == Program::LinkReturn::Resume ? "  \"on_link_return\": \"resume\",\n"
                                                               : "  \"on_link_return\": \"stop\",\n";
    out += "  \"steps\": ";
    appendItems(out, program.body.items, 1);
    out += "\n}\n";
    return QByteArray::fromStdString(out);
}

ProgramFile::Read ProgramFile::fromCsv(const QByteArray& bytes)
{
    std::string_view text = withoutMark(bytes);
    if (std::optional<QString> problem = unreadable(text)) {
        return {std::nullopt, *problem};
    }
    Program program;
    bool first = true;
    int steps = 0;
    for (int line = 1; !text.empty(); ++line) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view row = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (row.ends_with('\r')) {
            row.remove_suffix(1);
        }
        if (trimmed(row).empty() || (std::exchange(first, false) && isHeader(row))) {
            continue;
        }
        if (++steps > kMaxSteps) {
            return {std::nullopt, atLine(line, tr("шагов больше %1").arg(kMaxSteps))};
        }
        std::array<std::optional<double>, 3> values;
        std::size_t field = 0;
        for (; field < values.size() && !row.empty(); ++field) {
            const std::size_t comma = std::min(row.find(','), row.size());
            values.at(field) = csvNumber(trimmed(row.substr(0, comma)));
            if (!values.at(field)) {
                constexpr std::array<std::string_view, 3> kColumns{"dwell_s", "voltage_V", "current_A"};
                constexpr std::size_t kShown = 20;
                return {std::nullopt,
                    atLine(line,
                        tr("%1 должно быть числом, а не %2")
                            .arg(keyText(kColumns.at(field)),
                                keyText(trimmed(row.substr(0, std::min(comma, kShown))))))};
            }
            row.remove_prefix(std::min(comma + 1, row.size()));
        }
        const std::optional<Millis> dwell = values[0] ? toMillis(*values[0]) : std::nullopt;
        if (field != values.size() || !row.empty()) {
            return {std::nullopt,
                atLine(line,
                    tr("нужны три числа через запятую: %1")
                        .arg(QLatin1String(kCsvHeader.data(), static_cast<qsizetype>(kCsvHeader.size()))))};
        }
        if (!dwell) {
            return {std::nullopt,
                atLine(line,
                    tr("\"dwell_s\" должно быть от 0 до %1 с")
                        .arg(QString::fromStdString(ProgramNumber::text(kMaxSeconds))))};
        }
        ProgramStep step;
        step.volts = values[1];
        step.amperes = values[2];
        step.output = true;
        step.duration = dwell;
        step.maxDuration = *dwell;
        program.body.items.emplace_back().content = std::move(step);
    }
    return {std::move(program), {}};
}

std::optional<QByteArray> ProgramFile::toCsv(const Program& program, QString* problem)
{
    int number = 0;
    QString why = notAList(program.body, number);
    if (why.isEmpty() && rowsOf(program.body) > kMaxSteps) {
        why = tr("в списке вышло бы больше %1 строк").arg(kMaxSteps);
    }
    if (!why.isEmpty()) {
        if (problem != nullptr) {
            *problem = why;
        }
        return std::nullopt;
    }
    return QByteArray::fromStdString(std::string(kCsvHeader) + '\n' + rowsText(program.body));
}

ProgramFile::Read ProgramFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, tr("Не удалось открыть «%1»: %2.").arg(path, file.errorString())};
    }
    // Enough to tell a file over the bound, with or without a byte-order mark.
    const QByteArray bytes = file.read(kMaxBytes + static_cast<qsizetype>(kUtf8Mark.size()) + 1);
    if (file.error() != QFileDevice::NoError) {
        return {std::nullopt, tr("Не удалось прочитать «%1»: %2.").arg(path, file.errorString())};
    }
    Read read = isCsv(path) ? fromCsv(bytes) : fromJson(bytes);
    if (!read.program) {
        read.problem = named(path, read.problem);
    }
    return read;
}

QString ProgramFile::save(const QString& path, const Program& program)
{
    QByteArray bytes;
    if (isCsv(path)) {
        QString problem;
        std::optional<QByteArray> list = toCsv(program, &problem);
        if (!list) {
            return named(path, tr("программу нельзя записать списком CSV: %1").arg(problem));
        }
        bytes = std::move(*list);
    } else {
        bytes = toJson(program);
    }
    if (!AtomicFile::replace(QFile::encodeName(path).toStdString(), bytes.toStdString())) {
        return tr("Не удалось записать «%1».").arg(path);
    }
    return {};
}
