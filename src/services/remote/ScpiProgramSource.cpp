#include "remote/ScpiProgramSource.h"

#include "program/ProgramFile.h"
#include "remote/ScpiBlock.h"
#include "remote/ScpiText.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <utility>

namespace {

// The text of a quoted string, its doubled quotes made single.
std::optional<std::string> unquoted(const std::string& parameter)
{
    if (parameter.size() < 2 || (parameter.front() != '"' && parameter.front() != '\'')
        || parameter.back() != parameter.front()) {
        return std::nullopt;
    }
    const char quote = parameter.front();
    std::string text;
    for (std::size_t i = 1; i + 1 < parameter.size(); ++i) {
        text.push_back(parameter[i]);
        if (parameter[i] == quote) {
            ++i;
        }
    }
    return text;
}

bool isPlainName(const std::string& name)
{
    return !name.empty() && name.size() <= 255 && name.front() != '.' && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

std::variant<Program, ScpiError> outcome(ProgramFile::Read read)
{
    if (!read.program) {
        return ScpiError::executionError(ScpiText::ascii(read.problem));
    }
    return std::move(*read.program);
}

} // namespace

std::variant<Program, ScpiError> ScpiProgramSource::read(const std::string& parameter, const QString& folder)
{
    if (const auto data = ScpiBlock::data(parameter)) {
        return fromBlock(*data);
    }
    if (const auto name = unquoted(parameter)) {
        return fromFolder(*name, folder);
    }
    return ScpiError::dataTypeError();
}

std::variant<Program, ScpiError> ScpiProgramSource::fromBlock(std::string_view data)
{
    if (std::cmp_greater(data.size(), ProgramFile::kMaxBytes)) {
        return ScpiError::tooMuchData();
    }
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));
    // A JSON document is an object; anything else is taken for the list.
    const bool json = bytes.trimmed().startsWith('{');
    return outcome(json ? ProgramFile::fromJson(bytes) : ProgramFile::fromCsv(bytes));
}

std::variant<Program, ScpiError> ScpiProgramSource::fromFolder(const std::string& name, const QString& folder)
{
    if (!isPlainName(name)) {
        return ScpiError::illegalParameterValue();
    }
    const QString path = QDir(folder).filePath(QString::fromStdString(name));
    if (!QFileInfo(path).isFile()) {
        return ScpiError::fileNameNotFound();
    }
    return outcome(ProgramFile::load(path));
}
