#include "program/ProgramFile.h"

#include "program/JsonTree.h"
#include "program/ProgramCsv.h"
#include "program/ProgramJsonReader.h"
#include "program/ProgramJsonWriter.h"
#include "program/ProgramKeys.h"
#include "settings/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <string_view>
#include <utility>

namespace {

// Objects and arrays: each group is two levels, around them the document,
// its list, a step, its conditions and one condition.
constexpr int kMaxJsonDepth = 2 * ProgramFile::kMaxGroupDepth + 6;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

QString tr(const char* text)
{
    return QCoreApplication::translate("ProgramFile", text);
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
        return ProgramKeys::atLine(JsonTree::lineAt(text, zero), tr("нулевой байт"));
    }
    return std::nullopt;
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
        return {std::nullopt, ProgramKeys::atLine(parsed.line, parsed.problem)};
    }
    ProgramJsonReader programReader;
    std::optional<Program> program = programReader.read(*parsed.root);
    return {std::move(program), programReader.problem()};
}

QByteArray ProgramFile::toJson(const Program& program)
{
    return ProgramJsonWriter::write(program);
}

ProgramFile::Read ProgramFile::fromCsv(const QByteArray& bytes)
{
    const std::string_view text = withoutMark(bytes);
    if (std::optional<QString> problem = unreadable(text)) {
        return {std::nullopt, *problem};
    }
    return ProgramCsv::read(text);
}

std::optional<QByteArray> ProgramFile::toCsv(const Program& program, QString* problem)
{
    return ProgramCsv::write(program, problem);
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
    std::string why;
    if (!AtomicFile::replace(QFile::encodeName(path).toStdString(), bytes.toStdString(), {}, &why)) {
        return tr("Не удалось записать «%1»: %2.").arg(path, QString::fromStdString(why));
    }
    return {};
}
