// Entry of the core tests: the program's logic on QtCore alone, with the
// fake world and fixed-width metrics. Processes that need a display of their
// own (the driver, the program) are started on Qt's offscreen platform.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
