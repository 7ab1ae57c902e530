#include <QCoreApplication>

#include <gtest/gtest.h>

// A link hands its replies over through the event loop of the thread that made it.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
