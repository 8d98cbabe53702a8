// The baseline of the start-up benchmark: the least a Qt Widgets program does
// before its first paint. A main window with a menu bar, a label and a line
// edit, nothing else. With SOREMUKA_EXIT_AFTER_PAINT=1 it reports its peak
// memory after the first paint of the window and quits, as soremuka does.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>

#include <cstdio>

namespace {

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    QFile status(QStringLiteral("/proc/self/status"));
                    QByteArray peak;
                    if (status.open(QIODevice::ReadOnly))
                        for (const QByteArray &line : status.readAll().split('\n'))
                            if (line.startsWith("VmHWM:"))
                                peak = line.mid(6).trimmed();
                    std::printf("painted VmHWM %s\n", peak.constData());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool painted_ = false;
};

} // namespace

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
    if (qEnvironmentVariableIntValue("SOREMUKA_EXIT_AFTER_PAINT") == 1)
        window.installEventFilter(new ExitAfterFirstPaint(&window));
    window.show();
    return app.exec();
}
