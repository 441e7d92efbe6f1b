#include <QApplication>
#include <gtest/gtest.h>

// Every test program gets a QApplication, so widget tests and tests that spin
// a local event loop (network, timers) run alike on the offscreen platform.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
