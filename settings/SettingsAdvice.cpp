#include "settings/SettingsAdvice.h"

#include <filesystem>

std::string SettingsAdvice::text(SettingsFile::Problem problem, const std::string& path)
{
    const std::string file = "Файл настроек «" + path + "»";
    const std::string quoted = shellQuoted(path);
    switch (problem) {
    case SettingsFile::Problem::None:
        return {};
    case SettingsFile::Problem::Unreadable:
        return file
            + " нельзя прочитать. Программа работает с настройками по умолчанию и не изменяет этот файл. "
              "Чтобы вернуть свои настройки, выполните: sudo chown $USER: "
            + quoted + " && chmod u+rw " + quoted;
    case SettingsFile::Problem::ReadOnly:
        return file
            + " защищён от записи, настройки в него не сохраняются. Чтобы программа сохраняла их, выполните: "
              "chmod u+w "
            + quoted;
    case SettingsFile::Problem::OtherOwner:
        return file
            + " принадлежит другому пользователю, настройки в него не сохраняются. Чтобы программа сохраняла "
              "их, выполните: sudo chown $USER: "
            + quoted;
    case SettingsFile::Problem::NotWritten:
        return "Не удалось сохранить настройки в файл «" + path + "»: нет места на диске или нет права записи в папку «"
            + std::filesystem::path(path).parent_path().string()
            + "». Горячие значения сохранены в памяти, программа попробует записать их снова.";
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
