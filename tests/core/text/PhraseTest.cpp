#include "text/Phrase.h"

#include <gtest/gtest.h>

// Each piece of a phrase is put into the language on its own, and the
// arguments go in together: one holding a placeholder stays as it is.
TEST(Phrase, NestedPartsAreTranslatedAndArgumentsGoInAsTheyAre)
{
    const Phrase nested = Phrase::translate("ProgramFile", "«%1»: %2")
                              .arg(QStringLiteral("/tmp/%2 и %1.json"))
                              .arg(Phrase::translate("ProgramFile", "строка %1: %2")
                                       .arg(7)
                                       .arg(Phrase::translate("JsonTree", "файл пуст")));
    EXPECT_EQ(nested.inWindow(), QStringLiteral("«/tmp/%2 и %1.json»: строка 7: файл пуст"));
    EXPECT_EQ(nested.inEnglish(), QStringLiteral("/tmp/%2 и %1.json: line 7: the file is empty"));
}

// A text the catalogue has no English for yet stays as the sources have it,
// and no words at all say nothing.
TEST(Phrase, AnUntranslatedTextStaysAsWrittenAndNoWordsSayNothing)
{
    const Phrase untranslated = Phrase::translate("PhraseTest", "нет в каталоге: %1").arg(-3);
    EXPECT_EQ(untranslated.inEnglish(), QStringLiteral("нет в каталоге: -3"));
    EXPECT_EQ(untranslated.inWindow(), untranslated.inEnglish());
    EXPECT_TRUE(Phrase().isEmpty());
    EXPECT_TRUE(Phrase().inEnglish().isEmpty());
    EXPECT_FALSE(Phrase::verbatim(QStringLiteral("x")).isEmpty());
}
