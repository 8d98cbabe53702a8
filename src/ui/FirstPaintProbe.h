#pragma once
// For the start-up benchmark: with SOREMUKA_EXIT_AFTER_PAINT=1 a program
// reports its peak memory once its main window has been painted for the
// first time, and quits. Header-only so that the bare baseline window of the
// benchmark can use it without the rest of the program.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>

#include <cstdio>

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

    // Installs the probe on the window when the environment asks for it.
    static void installIfRequested(QObject *window)
    {
        if (qEnvironmentVariableIntValue("SOREMUKA_EXIT_AFTER_PAINT") == 1)
            window->installEventFilter(new ExitAfterFirstPaint(window));
    }

    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(qApp, &ExitAfterFirstPaint::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void report()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        QByteArray peak;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    peak = line.mid(6).trimmed();
        std::printf("painted VmHWM %s\n", peak.constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    bool painted_ = false;
};
