#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Nothing a test does may touch the user's own settings.
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", QDir(config.path()).absolutePath().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
