#pragma once

#include <QString>

#include <concepts>
#include <vector>

// Words for a person, put into a language only when it is known who reads
// them: the windows speak the program's own language, Russian, through Qt's
// installed translators; standard error and the event log speak English from
// the catalogue built into the program, so that each keeps to one language.
class Phrase {
public:
    // No words at all.
    Phrase() = default;
    // Said later, as QCoreApplication::translate would say it now. Both are
    // string literals: lupdate finds them by the name of this function.
    static Phrase translate(const char* context, const char* source);
    // The same in every language: a name, a path, a key of a file.
    static Phrase verbatim(QString text);

    // Fills the lowest %1 to %99 still open. All arguments go in together, as
    // QString::arg with several, so that one holding a % stays as it is.
    Phrase arg(Phrase value) const;
    Phrase arg(const QString& text) const { return arg(verbatim(text)); }
    // In plain digits, as QString::arg gives them.
    template <std::integral Number> Phrase arg(Number number) const { return arg(verbatim(QString::number(number))); }
    // A measured value needs its own format, chosen where it is said.
    Phrase arg(double) const = delete;

    QString inWindow() const;
    QString inEnglish() const;
    bool isEmpty() const { return source_ == nullptr && verbatim_.isEmpty(); }

private:
    using Translate = QString (*)(const char* context, const char* source);

    QString said(Translate translate) const;

    const char* context_ = nullptr;
    const char* source_ = nullptr;
    QString verbatim_;
    std::vector<Phrase> arguments_;
};
