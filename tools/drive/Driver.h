#pragma once
// Runs a script of events against the form, headless, with a fake clock and a
// scripted random source, and writes pictures and state dumps.
#include "form/Form1.h"
#include "controls/BasicRandom.h"
#include "FakeWorld.h"
#include "ui/QtTextMetrics.h"

#include <QStringList>
#include <QTemporaryDir>

#include <QPointF>

#include <memory>
#include <optional>

class EventPath;
class MainWindow;

class Driver {
public:
    explicit Driver(bool allSets, double zoom);
    ~Driver();

    // Runs the whole script; returns the process exit code.
    int runScript(const QString &path);
    // Runs one line; throws DriverError with a message on a bad line.
    void runLine(const QString &line);

    Form1 *form() { return form_.get(); }

private:
    // Every event goes through the window's own event path.
    EventPath &events();
    void ensureStarted();
    void requireBeforeStart(const char *command) const;
    void requireVisibleText2();
    QStringList args(const QString &line) const;

    // The commands, by kind.
    void setUp(const QString &cmd, const QStringList &a, const QString &line);
    void menuOrClick(const QString &cmd, const QStringList &a);
    void keys(const QString &cmd, const QStringList &a, const QString &line);
    void pointer(const QString &cmd, const QStringList &a);
    void clockEvent(const QString &cmd, const QStringList &a);
    void gotoQuestion(const QStringList &a);
    void answerNext(const QStringList &a);
    void shot(const QStringList &a);
    void dump(const QStringList &a);

    bool allSets_;
    double zoom_;
    FakeWorld world_; // the scripted clock, random source, messages and sounds
    QtTextMetrics metrics_;
    QTemporaryDir scratch_;
    QString folder_;
    QString machineFile_;
    QString rosterFile_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<MainWindow> window_;
    std::optional<QPointF> pointer_; // where the mouse is over Picture6
    bool buttonDown_ = false;
};

struct DriverError {
    QString message;
};
