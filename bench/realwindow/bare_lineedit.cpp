// The baseline for keys in the real window: a line edit with the focus, in a
// window with a menu bar as large as the program's on the same screen, and
// nothing else a key could repaint.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The program's answer box shows no blinking caret; a blink here would
    // land in some key's repaint and be timed with it.
    QApplication::setCursorFlashTime(0);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare-lineedit"));
    window.menuBar()->addMenu(QStringLiteral("座標"))->addAction(QStringLiteral("長さ"));
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *edit = new QLineEdit;
    layout->addWidget(edit);
    layout->addStretch();
    window.setCentralWidget(central);
    // Fitted to the screen as the program fits its 716 × 484 client area.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const double zoom = std::max(0.3, std::min(avail.width() * 0.94 / 716, (avail.height() * 0.94 - 48) / 484));
    window.resize(int(std::lround(716 * zoom)), int(std::lround(484 * zoom)) + window.menuBar()->sizeHint().height());
    window.move(avail.topLeft());
    window.show();
    edit->setFocus();
    return app.exec();
}
