#include "app/QtTranslation.h"

#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList contextMenuTexts()
{
    QLineEdit edit(QStringLiteral("12.5"));
    edit.selectAll();
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts.append(action->text().section(QLatin1Char('\t'), 0, 0));
    }
    return texts;
}

} // namespace

TEST(QtTranslation, AnEditsContextMenuSpeaksRussianWhileItIsInstalled)
{
    {
        const QtTranslation russian;
        ASSERT_TRUE(russian.installed()) << "is qt6-translations-l10n installed?";
        const QStringList texts = contextMenuTexts();
        for (const char* text : {"&Вырезать", "&Копировать", "В&ставить"}) {
            EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
        }
    }
    EXPECT_TRUE(contextMenuTexts().contains(QStringLiteral("&Copy")));
}
