// Any bytes as a program file, JSON and CSV: a refusal always says why, what
// is read is written and read back the same, a list written reads back, and
// the checks take whatever was read.
#include "program/ProgramCheck.h"
#include "program/ProgramFile.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void exercise(const ProgramFile::Read& read, bool fromList)
{
    check(read.program.has_value() == read.problem.isEmpty());
    if (!read.program) {
        return;
    }
    const ProgramFile::Read again = ProgramFile::fromJson(ProgramFile::toJson(*read.program));
    check(again.program == read.program);

    QString problem;
    const std::optional<QByteArray> list = ProgramFile::toCsv(*read.program, &problem);
    check(list.has_value() == problem.isEmpty());
    if (list) {
        const ProgramFile::Read back = ProgramFile::fromCsv(*list);
        check(back.program.has_value());
        check(!fromList || back.program == read.program);
    }
    ProgramCheck::timing(*read.program, std::chrono::milliseconds(400));
    const ModelProfile profile{1, "", "", 30.0, 5.0, 0.0, 0.0};
    ProgramCheck::range(*read.program, profile, {20.0, 3.0, {}, {}, {}, std::chrono::seconds(3600)});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    exercise(ProgramFile::fromJson(bytes), false);
    exercise(ProgramFile::fromCsv(bytes), true);
    return 0;
}
