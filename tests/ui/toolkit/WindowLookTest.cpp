#include "toolkit/WindowLook.h"

#include <QDir>

#include <gtest/gtest.h>

// On a screen scaled by two each picture is drawn from its twin of twice the
// size, and takes the same room in the window.
TEST(WindowLook, EveryPictureHasATwinForScaledScreens)
{
    Q_INIT_RESOURCE(resources);
    const QStringList pictures = QDir(QStringLiteral(":/res")).entryList({QStringLiteral("*.png")});
    ASSERT_GE(pictures.size(), 14);
    for (const QString& name : pictures) {
        if (name.contains(QLatin1Char('@'))) {
            continue;
        }
        const QString resource = QStringLiteral(":/res/") + name;
        const QPixmap plain = WindowLook::picture(resource, 1.0);
        const QPixmap sharp = WindowLook::picture(resource, 2.0);
        EXPECT_EQ(plain.devicePixelRatio(), 1.0);
        EXPECT_EQ(sharp.size(), plain.size() * 2) << name.toStdString();
        EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(plain.size())) << name.toStdString();
    }
    EXPECT_EQ(WindowLook::windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {64, 64}}));
}
