#include "text/Phrase.h"

#include <QCoreApplication>
#include <QGlobalStatic>
#include <QStringList>
#include <QTranslator>

#include <utility>

namespace {

// As many as one message of the program takes, and more.
constexpr std::size_t kMaxArguments = 9;

// Built into the program by qt_add_translations; loaded once, never installed,
// so that the windows keep their language.
struct EnglishCatalogue {
    EnglishCatalogue() { (void)translator.load(QStringLiteral(":/i18n/tendrel-controller_en.qm")); }
    QTranslator translator;
};

Q_GLOBAL_STATIC(EnglishCatalogue, englishCatalogue)

QString inWindowLanguage(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source);
}

// A text not yet translated stays as the sources have it.
QString inEnglishLanguage(const char* context, const char* source)
{
    const QString english = englishCatalogue()->translator.translate(context, source);
    return english.isEmpty() ? QString::fromUtf8(source) : english;
}

template <std::size_t... Index>
QString filledAll(const QString& pattern, const QStringList& values, std::index_sequence<Index...> /*unused*/)
{
    return pattern.arg(values[Index]...);
}

template <std::size_t Count = kMaxArguments> QString filled(const QString& pattern, const QStringList& values)
{
    if constexpr (Count == 0) {
        return pattern;
    } else {
        if (static_cast<std::size_t>(values.size()) == Count) {
            return filledAll(pattern, values, std::make_index_sequence<Count>{});
        }
        return filled<Count - 1>(pattern, values);
    }
}

} // namespace

Phrase Phrase::translate(const char* context, const char* source)
{
    Phrase phrase;
    phrase.context_ = context;
    phrase.source_ = source;
    return phrase;
}

Phrase Phrase::verbatim(QString text)
{
    Phrase phrase;
    phrase.verbatim_ = std::move(text);
    return phrase;
}

Phrase Phrase::arg(Phrase value) const
{
    Q_ASSERT(arguments_.size() < kMaxArguments);
    Phrase phrase = *this;
    phrase.arguments_.push_back(std::move(value));
    return phrase;
}

QString Phrase::inWindow() const
{
    return said(inWindowLanguage);
}

QString Phrase::inEnglish() const
{
    return said(inEnglishLanguage);
}

QString Phrase::said(Translate translate) const
{
    const QString pattern = source_ != nullptr ? translate(context_, source_) : verbatim_;
    QStringList values;
    for (const Phrase& argument : arguments_) {
        values << argument.said(translate);
    }
    return filled(pattern, values);
}
