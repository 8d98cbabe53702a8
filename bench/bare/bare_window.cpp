// The baseline of the start-up benchmark: the least a Qt Widgets program does
// before its first paint. A main window with a menu bar, a label and a line
// edit, nothing else, in a window of the program's size. With SOREMUKA_EXIT_AFTER_PAINT=1 it reports its peak
// memory after the first paint of the window and quits, as soremuka does.
#include "ui/FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
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
    // As large as the program's window opens on the same screen (its
    // designed 716 × 484 client area fitted to most of the screen), so that
    // both hold back buffers of one size and the memory compared is the
    // program's own.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const double zoom = std::max(0.3, std::min(avail.width() * 0.94 / 716, (avail.height() * 0.94 - 48) / 484));
    window.resize(int(std::lround(716 * zoom)), int(std::lround(484 * zoom)) + window.menuBar()->sizeHint().height());
    ExitAfterFirstPaint::installIfRequested(&window);
    window.show();
    return app.exec();
}
