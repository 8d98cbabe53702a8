// The baseline for moves on the plane in the real window: a widget that
// paints a 17 × 17 grid with its axes and, while the button is held, a line
// from where it was pressed to the pointer, repainting itself whole at each
// move as a small Qt program would. The window and the plane are as large
// as the program's, the plane where the program has it.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

class Plane : public QWidget {
protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        from_ = to_ = e->position();
        held_ = true;
        update();
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (!held_)
            return;
        to_ = e->position();
        update();
    }
    void mouseReleaseEvent(QMouseEvent *) override { held_ = false; }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const double side = std::min(width(), height()) - 20.0;
        const QPointF corner((width() - side) / 2, (height() - side) / 2);
        const double step = side / 16;
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 200, 200), 1));
        for (int i = 0; i <= 16; ++i) {
            p.drawLine(corner + QPointF(i * step, 0), corner + QPointF(i * step, side));
            p.drawLine(corner + QPointF(0, i * step), corner + QPointF(side, i * step));
        }
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(corner + QPointF(8 * step, 0), corner + QPointF(8 * step, side));
        p.drawLine(corner + QPointF(0, 8 * step), corner + QPointF(side, 8 * step));
        p.drawText(corner + QPointF(side - 12, 8 * step - 4), QStringLiteral("x"));
        p.drawText(corner + QPointF(8 * step + 4, 12), QStringLiteral("y"));
        if (held_) {
            p.setPen(QPen(Qt::blue, 2));
            p.drawLine(from_, to_);
        }
    }

private:
    QPointF from_, to_;
    bool held_ = false;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare-plane"));
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const double zoom = std::max(0.3, std::min(avail.width() * 0.94 / 716, (avail.height() * 0.94 - 48) / 484));
    window.resize(int(std::lround(716 * zoom)), int(std::lround(484 * zoom)));
    // Where the program's plane lies in its window, and as large.
    auto *plane = new Plane;
    plane->setParent(&window);
    plane->setGeometry(int(window.width() * 0.011), int(window.height() * 0.033), int(window.width() * 0.48),
                       int(window.height() * 0.655));
    window.move(avail.topLeft());
    window.show();
    return app.exec();
}
