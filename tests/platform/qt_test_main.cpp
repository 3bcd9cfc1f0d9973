#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // The widget tests need no screen; listing the tests at build time has no environment set.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A fixed locale, whatever the machine's: set here because a list-valued ENVIRONMENT does not
    // survive gtest_discover_tests' PROPERTIES.
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
