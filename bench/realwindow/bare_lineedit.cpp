// The baseline for keys in the real window: a line edit with the focus, in a
// window as large as the program's on the same screen, and nothing else a
// key could repaint.
#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare-lineedit"));
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit;
    layout->addWidget(edit);
    layout->addStretch();
    // Fitted to the screen as the program fits its 716 × 484 client area.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const double zoom = std::max(0.3, std::min(avail.width() * 0.94 / 716, (avail.height() * 0.94 - 48) / 484));
    window.resize(int(std::lround(716 * zoom)), int(std::lround(484 * zoom)));
    window.move(avail.topLeft());
    window.show();
    edit->setFocus();
    return app.exec();
}
