#include "program/ProgramFile.h"

#include "program/JsonTree.h"
#include "program/ProgramCsv.h"
#include "program/ProgramJsonReader.h"
#include "program/ProgramJsonWriter.h"
#include "program/ProgramKeys.h"
#include "settings/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <string_view>
#include <utility>

namespace {

// Objects and arrays: each group is two levels, around them the document,
// its list, a step, its conditions and one condition.
constexpr int kMaxJsonDepth = 2 * ProgramFile::kMaxGroupDepth + 6;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view withoutMark(const QByteArray& bytes)
{
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    return text;
}

// What no program file holds, before anything is parsed.
std::optional<Phrase> unreadable(std::string_view text)
{
    if (text.size() > static_cast<std::size_t>(ProgramFile::kMaxBytes)) {
        return Phrase::translate("ProgramFile", "файл больше 1 МиБ");
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        return ProgramKeys::atLine(JsonTree::lineAt(text, zero), Phrase::translate("ProgramFile", "нулевой байт"));
    }
    return std::nullopt;
}

Phrase named(const QString& path, const Phrase& problem)
{
    return Phrase::translate("ProgramFile", "«%1»: %2").arg(path).arg(problem);
}

bool isCsv(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

} // namespace

ProgramFile::Read::Read(Program read)
    : program(std::move(read))
{
}

ProgramFile::Read::Read(const Phrase& refusal)
    : why(refusal)
    , problem(refusal.inWindow())
{
}

ProgramFile::Read ProgramFile::fromJson(const QByteArray& bytes)
{
    const std::string_view text = withoutMark(bytes);
    if (std::optional<Phrase> problem = unreadable(text)) {
        return *problem;
    }
    const JsonTree::Parsed parsed = JsonTree::parse(text, kMaxJsonDepth,
        Phrase::translate("ProgramFile", "вложено глубже, чем допускают %1 вложенных групп")
            .arg(ProgramFile::kMaxGroupDepth));
    if (!parsed.root) {
        return ProgramKeys::atLine(parsed.line, parsed.problem);
    }
    ProgramJsonReader programReader;
    if (std::optional<Program> program = programReader.read(*parsed.root)) {
        return std::move(*program);
    }
    return programReader.problem();
}

QByteArray ProgramFile::toJson(const Program& program)
{
    return ProgramJsonWriter::write(program);
}

ProgramFile::Read ProgramFile::fromCsv(const QByteArray& bytes)
{
    const std::string_view text = withoutMark(bytes);
    if (std::optional<Phrase> problem = unreadable(text)) {
        return *problem;
    }
    return ProgramCsv::read(text);
}

std::optional<QByteArray> ProgramFile::toCsv(const Program& program, QString* problem)
{
    Phrase why;
    std::optional<QByteArray> list = ProgramCsv::write(program, &why);
    if (!list && problem != nullptr) {
        *problem = why.inWindow();
    }
    return list;
}

ProgramFile::Read ProgramFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Phrase::translate("ProgramFile", "Не удалось открыть «%1»: %2.").arg(path).arg(file.errorString());
    }
    // Enough to tell a file over the bound, with or without a byte-order mark.
    const QByteArray bytes = file.read(kMaxBytes + static_cast<qsizetype>(kUtf8Mark.size()) + 1);
    if (file.error() != QFileDevice::NoError) {
        return Phrase::translate("ProgramFile", "Не удалось прочитать «%1»: %2.").arg(path).arg(file.errorString());
    }
    Read read = isCsv(path) ? fromCsv(bytes) : fromJson(bytes);
    if (!read.program) {
        return named(path, read.why);
    }
    return read;
}

QString ProgramFile::save(const QString& path, const Program& program)
{
    QByteArray bytes;
    if (isCsv(path)) {
        Phrase problem;
        std::optional<QByteArray> list = ProgramCsv::write(program, &problem);
        if (!list) {
            return named(
                path, Phrase::translate("ProgramFile", "программу нельзя записать списком CSV: %1").arg(problem))
                .inWindow();
        }
        bytes = std::move(*list);
    } else {
        bytes = toJson(program);
    }
    std::string why;
    if (!AtomicFile::replace(QFile::encodeName(path).toStdString(), bytes.toStdString(), {}, &why)) {
        return Phrase::translate("ProgramFile", "Не удалось записать «%1»: %2.")
            .arg(path)
            .arg(QString::fromStdString(why))
            .inWindow();
    }
    return {};
}
