// The baseline of the start-up benchmark: the least a Qt Widgets program does
// before its first paint. A main window with a menu bar, a label and a line
// edit, nothing else. With SOREMUKA_EXIT_AFTER_PAINT=1 it reports its peak
// memory after the first paint of the window and quits, as soremuka does.
#include "ui/FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>

#include <cstdio>


int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("座標"));
    menu->addAction(QStringLiteral("座標1"));
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("ソレムカゼミ")));
    layout->addWidget(new QLineEdit);
    window.setCentralWidget(central);
    window.resize(716, 504);
    ExitAfterFirstPaint::installIfRequested(&window);
    window.show();
    return app.exec();
}
