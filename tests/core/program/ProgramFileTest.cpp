#include "program/ProgramFile.h"
#include "program/ProgramIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// The example of the manual (docs/programs.md), as the program writes it.
constexpr const char* kExample = R"({
  "format": "tendrel-program",
  "version": 1,
  "on_link_return": "stop",
  "steps": [
    {"name": "warm-up", "voltage_V": 5.0, "current_A": 0.5, "output": true, "duration_s": 10},
    {"repeat": 3, "steps": [
      {"voltage_V": 12.0, "duration_s": 2.5},
      {"ramp": {"quantity": "voltage", "from": 12.0, "to": 0.0}, "duration_s": 30}
    ]},
    {"current_A": 1.0, "until": [{"current_at_most_A": 0.05}, {"charge_Ah": 2.0}, {"regulation": "CV"}], "max_duration_s": 7200},
    {"repeat": "until_stopped", "steps": [
      {"output": false, "duration_s": 1}
    ]}
  ]
}
)";

ProgramStep row(double seconds, double volts, double amperes)
{
    ProgramStep step;
    step.volts = volts;
    step.amperes = amperes;
    step.output = true;
    step.duration = std::chrono::milliseconds(std::llround(seconds * 1000));
    step.maxDuration = *step.duration;
    return step;
}

ProgramGroup group(std::optional<int> count, std::vector<ProgramNode> items)
{
    return {count, std::move(items)};
}

Program rich()
{
    using Kind = EndCondition::Kind;
    ProgramStep named = row(0.001, 0.1, 1e-7);
    named.name = "заряд \"A\"\\\n\t\x01";
    ProgramStep measured;
    measured.ends = {{Kind::CurrentAtMost, 0.05}, {Kind::CurrentAtLeast, 3}, {Kind::VoltageAtMost, 1.25},
        {Kind::VoltageAtLeast, 14.4}, {Kind::Charge, 2}, {Kind::Energy, 123456.789}, {Kind::BecomesCv, 0},
        {Kind::BecomesCc, 0}, {Kind::VoltageDrop, 0.005}, {Kind::TimeOfDay, 6 * 3600 + 30 * 60},
        {Kind::TimeOfDay, 23 * 3600 + 59 * 60 + 59}};
    measured.maxDuration = 7200s;
    ProgramStep ramp;
    ramp.ramp = ProgramStep::Ramp{Quantity::Current, 0.3, 2.7};
    ramp.volts = 1e20;
    ramp.duration = 86400123ms;
    ramp.maxDuration = 60s;
    ProgramStep kept;
    kept.output = false;
    Program program{
        group(1, {{named}, {group(2, {{measured}, {group(std::nullopt, {{ramp}, {group(5, {})}})}})}, {kept}}),
        Program::LinkReturn::Resume};
    return program;
}

std::string problemOf(const ProgramFile::Read& read)
{
    EXPECT_FALSE(read.program.has_value());
    return read.problem.toStdString();
}

} // namespace

TEST(ProgramFileTest, TheExampleIsReadAndWrittenAsTheReadmeShowsIt)
{
    const ProgramFile::Read read = ProgramFile::fromJson(kExample);
    ASSERT_TRUE(read.program) << read.problem.toStdString();
    const ProgramIndex index(*read.program);
    ASSERT_EQ(index.size(), 5);
    EXPECT_EQ(index.step(1).name, "warm-up");
    EXPECT_EQ(index.step(2).duration, 2500ms);
    EXPECT_EQ(index.step(4).maxDuration, 7200s);
    EXPECT_EQ(index.step(5).maxDuration, 1s);
    EXPECT_EQ(ProgramFile::toJson(*read.program).toStdString(), kExample);
}

TEST(ProgramFileTest, EveryFieldComesBackAsItWas)
{
    const Program program = rich();
    const QByteArray text = ProgramFile::toJson(program);
    const ProgramFile::Read read = ProgramFile::fromJson(text);
    ASSERT_TRUE(read.program) << read.problem.toStdString() << text.toStdString();
    EXPECT_EQ(*read.program, program);
    EXPECT_TRUE(text.contains(R"("voltage_V": 0.1, "current_A": 1e-07)")) << text.toStdString();
    EXPECT_TRUE(text.contains(R"({"time_of_day": "06:30"}, {"time_of_day": "23:59:59"})"));
}

TEST(ProgramFileTest, RefusalsNameTheLineAndTheKey)
{
    const auto document = [](const std::string& steps) {
        return "{\n\"format\": \"tendrel-program\",\n\"version\": 1,\n\"steps\": [\n" + steps + "\n]}";
    };
    const std::vector<std::pair<std::string, std::string>> cases{
        {R"({"format": "tendrel-program", "version": 1, "steps": [], "foo": 1})",
            R"(строка 1: неизвестный ключ "foo")"},
        {"{\"format\": \"tendrel-program\",\n\"foo\": 1,\n\"version\": 3}",
            "строка 3: версия 3 новее, чем эта программа умеет читать (2)"},
        {"{\"format\": \"tendrel-program\", \"version\": 0}", "строка 1: версии 0 не бывает"},
        {"{\"format\": \"tendrel-program\", \"version\": 1.5}", R"(строка 1: "version" должно быть целым числом)"},
        {R"({"format": "csv", "version": 1})", R"(строка 1: "format" должно быть "tendrel-program")"},
        {R"({"format": "tendrel-program", "steps": []})", R"(строка 1: нет ключа "version")"},
        {"{\"format\": \"tendrel-program\", \"version\": 1,\n\"on_link_return\": \"pause\", \"steps\": []}",
            R"(строка 2: "on_link_return" должно быть "stop" или "resume")"},
        {"[]", "строка 1: документ должен быть объектом"},
        {document(R"({"duration_s": "10"})"), R"(строка 5: "duration_s" должно быть числом)"},
        {document("{\"duration_s\": 1},\n{\"voltage_V\": 1,\n\"foo\": 2}"), R"(строка 7: неизвестный ключ "foo")"},
        {document(R"({"duration_s": 1, "duration_s": 2})"), R"(строка 5: ключ "duration_s" повторён)"},
        {document(R"({"duration_s": -1})"), R"(строка 5: "duration_s" должно быть от 0 до 1000000000 с)"},
        {document(R"({"output": 1})"), R"(строка 5: "output" должно быть true или false)"},
        {document(R"({"name": 5})"), R"(строка 5: "name" должно быть строкой)"},
        {document("5"), R"(строка 5: элемент "steps" должен быть объектом)"},
        {document(R"({"ramp": {"quantity": "voltage", "from": 1, "to": 2}})"),
            R"(строка 5: у "ramp" нет "duration_s")"},
        {document(R"({"voltage_V": 1, "ramp": {"quantity": "voltage", "from": 1, "to": 2}, "duration_s": 1})"),
            R"(строка 5: "ramp" и "voltage_V" задают одно и то же)"},
        {document(R"({"ramp": {"quantity": "power", "from": 1, "to": 2}, "duration_s": 1})"),
            R"(строка 5: "quantity" должно быть "voltage" или "current")"},
        {document(R"({"ramp": {"quantity": "current", "from": 1}, "duration_s": 1})"), R"(строка 5: нет ключа "to")"},
        {document(R"({"until": [{"charge_Ah": 1}]})"), R"(строка 5: у "until" нет "max_duration_s")"},
        {document(R"({"until": [{"power_W": 1}], "max_duration_s": 9})"), R"(строка 5: неизвестный ключ "power_W")"},
        {document(R"({"until": [{"charge_Ah": 1, "energy_Wh": 1}], "max_duration_s": 9})"),
            "строка 5: условие в \"until\""},
        {document(R"({"until": [{"time_of_day": "24:00"}], "max_duration_s": 9})"), R"(строка 5: "time_of_day")"},
        {document(R"({"until": [{"regulation": "cv"}], "max_duration_s": 9})"),
            R"(строка 5: "regulation" должно быть "CV" или "CC")"},
        {document(R"({"repeat": 0, "steps": []})"), R"(строка 5: "repeat" должно быть целым числом от 1)"},
        {document(R"({"repeat": "forever", "steps": []})"), R"(строка 5: "repeat")"},
        {document(R"({"repeat": 2})"), R"(строка 5: нет ключа "steps")"},
        {document(R"({"steps": [], "repeat": 2, "name": "x"})"), R"(строка 5: неизвестный ключ "name")"},
        {document("{\"duration_s\": 1}\n{\"duration_s\": 2}"), "строка 6: ожидается запятая или «]»"},
        {document("{\"name\": \"open}"), "строка 5: строка не закрыта кавычкой до конца строки"},
        {document(R"({"name": "\x"})"), "строка 5: неверная escape-последовательность"},
        {std::string("{\"format\":\n\0", 13), "строка 2: нулевой байт"},
        {"", "строка 1: файл пуст"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_NE(problemOf(ProgramFile::fromJson(QByteArray::fromStdString(text))).find(expected), std::string::npos)
            << text << "\n→ " << ProgramFile::fromJson(QByteArray::fromStdString(text)).problem.toStdString();
    }
}

TEST(ProgramFileTest, HostileFilesAreBounded)
{
    EXPECT_EQ(problemOf(ProgramFile::fromJson(QByteArray(ProgramFile::kMaxBytes + 1, ' '))), "файл больше 1 МиБ");
    EXPECT_NE(
        problemOf(ProgramFile::fromJson(QByteArray(1000000, '['))).find("строка 1: вложено глубже"), std::string::npos);
    const std::string head = R"({"format": "tendrel-program", "version": 1, "steps": [)";
    const auto repeated = [](const std::string& part, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) {
            text += part;
        }
        return text;
    };
    const auto nested = [&](int groups) {
        return QByteArray::fromStdString(
            head + repeated("\n{\"repeat\": 1, \"steps\": [", groups) + repeated("]}", groups) + "]}");
    };
    const auto steps
        = [&](int count) { return QByteArray::fromStdString(head + "\n{}" + repeated(",\n{}", count - 1) + "]}"); };
    EXPECT_TRUE(ProgramFile::fromJson(nested(ProgramFile::kMaxGroupDepth)).program);
    EXPECT_EQ(problemOf(ProgramFile::fromJson(nested(ProgramFile::kMaxGroupDepth + 1))),
        "строка 18: групп вложено больше 16");
    EXPECT_TRUE(ProgramFile::fromJson(steps(ProgramFile::kMaxSteps)).program);
    EXPECT_EQ(problemOf(ProgramFile::fromJson(steps(ProgramFile::kMaxSteps + 1))), "строка 10002: шагов больше 10000");
}

TEST(ProgramFileTest, TheCsvListIsReadRowByRow)
{
    const ProgramFile::Read read
        = ProgramFile::fromCsv("\xEF\xBB\xBF"
                               "dwell_s,voltage_V,current_A\r\n10,5,0.5\r\n\r\n  \n2.5, 12 ,1\n0.4,0,0");
    ASSERT_TRUE(read.program) << read.problem.toStdString();
    EXPECT_EQ(read.program->body, group(1, {{row(10, 5, 0.5)}, {row(2.5, 12, 1)}, {row(0.4, 0, 0)}}));
    EXPECT_TRUE(ProgramFile::fromCsv("").program);

    const std::vector<std::pair<QByteArray, std::string>> refused{
        {"1,2\n", "строка 1: нужны три числа через запятую: dwell_s,voltage_V,current_A"},
        {"1,2,3,4", "строка 1: нужны три числа"},
        {"\n10,abc,1", R"(строка 2: "voltage_V" должно быть числом, а не "abc")"},
        {"1,2,inf", R"(строка 1: "current_A" должно быть числом, а не "inf")"},
        {"-1,1,1", R"(строка 1: "dwell_s" должно быть от 0 до 1000000000 с)"},
        {"1;2;3", R"(строка 1: "dwell_s" должно быть числом)"},
        {"dwell_s,voltage_V,current_A\n1,2,3\ndwell_s,voltage_V,current_A",
            R"(строка 3: "dwell_s" должно быть числом)"},
    };
    for (const auto& [text, expected] : refused) {
        EXPECT_NE(problemOf(ProgramFile::fromCsv(text)).find(expected), std::string::npos) << text.toStdString();
    }
}

TEST(ProgramFileTest, TheCsvListTakesFiniteGroupsOfPlainSteps)
{
    const Program program{group(1, {{row(1, 5, 0.5)}, {group(2, {{row(0.25, 12, 1)}, {group(1000000, {})}})}})};
    const std::optional<QByteArray> list = ProgramFile::toCsv(program);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->toStdString(), "dwell_s,voltage_V,current_A\n1,5,0.5\n0.25,12,1\n0.25,12,1\n");

    const auto with = [](const std::function<void(ProgramStep&)>& change, std::optional<int> count = 1) {
        ProgramStep step = row(1, 1, 1);
        change(step);
        return Program{group(1, {{row(1, 1, 1)}, {group(count, {{step}})}})};
    };
    const std::vector<std::pair<Program, std::string>> refused{
        {with([](ProgramStep& step) {
             step.ends = {{EndCondition::Kind::Charge, 1}};
         }),
            "шаг 2: есть условия"},
        {with([](ProgramStep& step) { step.ramp = ProgramStep::Ramp{}; }), "шаг 2: плавное изменение"},
        {with([](ProgramStep& step) { step.volts.reset(); }), "шаг 2: напряжение остаётся прежним"},
        {with([](ProgramStep& step) { step.amperes.reset(); }), "шаг 2: ток остаётся прежним"},
        {with([](ProgramStep& step) { step.output = false; }), "шаг 2: выход выключается"},
        {with([](ProgramStep& step) { step.output.reset(); }), "шаг 2: выход остаётся прежним"},
        {with([](ProgramStep& step) { step.duration.reset(); }), "шаг 2: нет длительности"},
        {with([](ProgramStep& /*step*/) {}, std::nullopt), "группа после шага 1 повторяется до остановки"},
        {with([](ProgramStep& /*step*/) {}, ProgramFile::kMaxSteps), "в списке вышло бы больше 10000 строк"},
    };
    for (const auto& [refusedProgram, expected] : refused) {
        QString problem;
        EXPECT_FALSE(ProgramFile::toCsv(refusedProgram, &problem));
        EXPECT_NE(problem.toStdString().find(expected), std::string::npos) << problem.toStdString();
    }
}

TEST(ProgramFileTest, FilesAreSavedWholeAndLoadedBySuffix)
{
    const QTemporaryDir directory;
    const QString json = directory.filePath("charge.json");
    const QString csv = directory.filePath("steps.CSV");
    const Program program = rich();
    const Program list{group(1, {{row(1, 5, 0.5)}, {row(0.5, 12, 1)}})};
    ASSERT_EQ(ProgramFile::save(json, program), QString());
    ASSERT_EQ(ProgramFile::save(csv, list), QString());
    EXPECT_EQ(ProgramFile::load(json).program, program);
    EXPECT_EQ(ProgramFile::load(csv).program, list);

    EXPECT_EQ(ProgramFile::save(csv, program).toStdString(),
        "«" + csv.toStdString()
            + "»: программу нельзя записать списком CSV: шаг 2: есть условия окончания, а в "
              "списке шаг длится своё время");
    EXPECT_EQ(ProgramFile::load(csv).program, list);
    EXPECT_EQ(
        ProgramFile::load(directory.filePath("none.json")).problem.toStdString().find("Не удалось открыть «"), 0U);
    // The system's reason, as the recorder gives it.
    EXPECT_EQ(ProgramFile::save(directory.filePath("no/such.json"), program),
        "Не удалось записать «" + directory.filePath("no/such.json") + "»: No such file or directory.");

    QFile broken(json);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\n\"format\": \"tendrel-program\",\n\"version\": 1,\n\"step\": []}");
    broken.close();
    EXPECT_EQ(problemOf(ProgramFile::load(json)), "«" + json.toStdString() + "»: строка 4: неизвестный ключ \"step\"");
}
