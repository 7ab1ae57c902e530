#include "text/Cp1251.h"

#include <QString>

#include <gtest/gtest.h>

// Every character of the Basic Multilingual Plane in one text: those of the
// code page come back as their byte, all others as '?', never as a control
// character the file did not hold.
TEST(Cp1251, ACharacterOutsideTheCodePageBecomesAQuestionMark)
{
    QString every;
    for (char16_t unit = 1; unit != 0; ++unit) {
        if (!QChar::isSurrogate(unit)) {
            every.append(QChar(unit));
        }
    }
    const std::string bytes = Cp1251::fromUtf8(every.toStdString());
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(every.size()));
    int inCodePage = 0;
    for (qsizetype i = 0; i < every.size(); ++i) {
        const std::string byte(1, bytes[static_cast<std::size_t>(i)]);
        if (QString::fromStdString(Cp1251::toUtf8(byte)) == every[i]) {
            ++inCodePage;
        } else {
            ASSERT_EQ(byte, "?") << "U+" << std::hex << static_cast<int>(every[i].unicode());
        }
    }
    EXPECT_EQ(inCodePage, 255);
    EXPECT_EQ(Cp1251::fromUtf8("\xF0\x9F\x94\x8C x"), "? x"); // beyond the plane: one character, one '?'
    EXPECT_EQ(Cp1251::toUtf8("\x98\xB9"), "\xC2\x98№");
    EXPECT_EQ(Cp1251::toUtf8(std::string("\0A", 2)), std::string("\0A", 2));
}
