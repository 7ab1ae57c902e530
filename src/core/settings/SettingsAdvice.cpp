#include "settings/SettingsAdvice.h"

#include <QString>

#include <filesystem>

namespace {

// Both in one pass of arg(), so that a path with a % in it goes in unchanged.
Phrase filled(const Phrase& text, const std::string& first, const std::string& second)
{
    return text.arg(QString::fromStdString(first)).arg(QString::fromStdString(second));
}

} // namespace

Phrase SettingsAdvice::about(SettingsFile::Problem problem, const std::string& path)
{
    const std::string quoted = shellQuoted(path);
    switch (problem) {
    case SettingsFile::Problem::None:
        return {};
    case SettingsFile::Problem::Unreadable:
        return filled(Phrase::translate("SettingsAdvice",
                          "Файл настроек «%1» нельзя прочитать. Программа работает с настройками по умолчанию и не "
                          "изменяет этот файл. Чтобы вернуть свои настройки, выполните: sudo chown $USER: %2 && "
                          "chmod u+rw %2"),
            path, quoted);
    case SettingsFile::Problem::ReadOnly:
        return filled(Phrase::translate("SettingsAdvice",
                          "Файл настроек «%1» защищён от записи, настройки в него не сохраняются. Чтобы программа "
                          "сохраняла их, выполните: chmod u+w %2"),
            path, quoted);
    case SettingsFile::Problem::OtherOwner:
        return filled(Phrase::translate("SettingsAdvice",
                          "Файл настроек «%1» принадлежит другому пользователю, настройки в него не сохраняются. Чтобы "
                          "программа сохраняла их, выполните: sudo chown $USER: %2"),
            path, quoted);
    case SettingsFile::Problem::NotWritten:
        return filled(Phrase::translate("SettingsAdvice",
                          "Не удалось сохранить настройки в файл «%1»: нет места на диске или нет права записи в "
                          "папку «%2». Горячие значения сохранены в памяти, программа попробует записать их снова."),
            path, std::filesystem::path(path).parent_path().string());
    }
    return {};
}

// For a shell: in single quotes, each quote inside closed, escaped and reopened.
std::string SettingsAdvice::shellQuoted(const std::string& path)
{
    std::string quoted = "'";
    for (const char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}
