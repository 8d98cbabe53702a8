// Entry of the GUI tests: the real window, painter, fonts and Qt services on
// Qt's offscreen platform, with no display and no audio device.
#include "ui/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fonts::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
