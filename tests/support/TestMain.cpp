#include <gtest/gtest.h>

#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <memory>

#ifdef PLIMBO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

// ctest lists the tests without the test environment, so listing must not need a display.
static bool onlyListing(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return true;
        }
    }
    return false;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (onlyListing(argc, argv)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
