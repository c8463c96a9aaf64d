#include <QApplication>

#include <gtest/gtest.h>

// Every test executable gets a QApplication, offscreen unless the environment asks otherwise, so
// widget tests and socket tests can spin the event loop and pure tests cost nothing extra.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
