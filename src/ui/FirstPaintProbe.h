#pragma once
// Work that waits for the main window's first paint: the start-up benchmark's
// probe, and whatever the program puts off until the learner sees the
// window. Header-only so that the bare baseline window of the benchmark can
// use it without the rest of the program.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>

#include <cstdio>
#include <functional>
#include <utility>

// Runs an action once, from the event loop, after the window's first paint.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QObject *window, std::function<void()> action) : QObject(window), action_(std::move(action))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && action_) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, std::exchange(action_, nullptr), Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> action_;
};

// For the start-up benchmark: with SOREMUKA_EXIT_AFTER_PAINT=1 a program
// reports its peak memory once its main window has been painted for the
// first time, and quits. It also reports the device pixel ratio it painted
// at (the tests of scale factors read it).
struct ExitAfterFirstPaint {
    // Installs the probe on the window when the environment asks for it.
    static void installIfRequested(QObject *window)
    {
        if (qEnvironmentVariableIntValue("SOREMUKA_EXIT_AFTER_PAINT") == 1)
            new AfterFirstPaint(window, &report);
    }

    static void report()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        QByteArray peak;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    peak = line.mid(6).trimmed();
        const QScreen *screen = QGuiApplication::primaryScreen();
        // The ratio as Qt writes numbers: with a "." under every locale.
        const QByteArray ratio = QByteArray::number(screen ? screen->devicePixelRatio() : 1.0);
        std::printf("painted VmHWM %s, device pixel ratio %s\n", peak.constData(), ratio.constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }
};
