#pragma once

#include <QString>

#include <string>

// The controller's own texts, which are Russian, as the quoted string of an
// answer: string data is ASCII, and many clients decode it as nothing else.
class ScpiText {
public:
    // Cyrillic spelled in Latin letters, other characters outside printable
    // ASCII as '?'. No double quote and no comma: some drivers split an
    // answer at commas, quoted or not.
    static std::string ascii(const QString& text);
};
