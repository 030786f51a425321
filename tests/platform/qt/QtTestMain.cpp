#include <QApplication>

#include <gtest/gtest.h>

// The Qt tests need a QApplication before any backend exists. They run without a display; CTest
// sets the platform too, and so does this, for a run by hand or the test listing at build time.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef SHUFFLON_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", SHUFFLON_TEST_SCALE_FACTOR);
#endif
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
