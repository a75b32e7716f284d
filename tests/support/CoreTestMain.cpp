#include <QCoreApplication>

#include <gtest/gtest.h>

// The tests of the core run as the command line does: Qt Core alone, no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
