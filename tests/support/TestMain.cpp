#include "platform/EnterOnButtons.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program's start-up does, for the windows that tests open without it.
    paysum::InstallEnterOnButtons();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
