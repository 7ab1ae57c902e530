#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// No QApplication and no widgets: the supply controller must work without them.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", QDir(config.path()).absolutePath().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
