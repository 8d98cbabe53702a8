#pragma once
// Stand-ins for the outside world, used by the driver, the tests, the fuzz
// targets and the benchmarks (never by the program): a clock that moves only
// when told, a random source that returns what it is given, and a sound
// device and message box that record what they were asked to do.
#include "controls/BasicRandom.h"
#include "controls/Services.h"

#include <QDate>
#include <QDir>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <vector>

// Returns queued values first, then goes on with its own generator. Lets a
// script or a test force any draw.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(double clockSeconds = 0) { generator_.reseed(clockSeconds); }
    void queue(double v) { queued_.push_back(v); }
    void clearQueue() { queued_.clear(); }
    std::size_t queued() const { return queued_.size(); }
    void reseed(double clockSeconds) override { generator_.reseed(clockSeconds); }
    double next() override
    {
        if (queued_.empty())
            return generator_.next();
        const double v = queued_.front();
        queued_.pop_front();
        return v;
    }

private:
    BasicRandom generator_;
    std::deque<double> queued_;
};

// The wall clock (seconds since midnight and the date) and a monotonic clock
// that moves with it, except where the wall clock is stepped: setting
// `seconds` forward is time passing; `advance` passes time across midnight
// too; `stepWall` moves the wall clock alone, as a time server would.
class FakeClock : public Clock {
public:
    double seconds = 9 * 3600;
    QDate date = QDate(2026, 12, 8);
    double secondsSinceMidnight() const override { return seconds; }
    QDate today() const override { return date; }
    double monotonicSeconds() const override { return seconds + 86400.0 * days_ + skew_; }

    void advance(double by)
    {
        seconds += std::max(0.0, by);
        while (seconds >= 86400) {
            seconds -= 86400;
            ++days_;
            date = date.addDays(1);
        }
    }
    // A step past midnight either way changes the date too.
    void stepWall(double to)
    {
        skew_ += seconds - to;
        for (; to >= 86400; to -= 86400, skew_ += 86400)
            date = date.addDays(1);
        for (; to < 0; to += 86400, skew_ -= 86400)
            date = date.addDays(-1);
        seconds = to;
    }
    // The wall clock set to `to`: time has passed up to it, or, when it is
    // earlier, the wall clock was stepped back.
    void set(double to)
    {
        if (to >= seconds)
            seconds = to;
        else
            stepWall(to);
    }

private:
    long days_ = 0;
    double skew_ = 0;
};

// Both channels of the feedback sounds share one log of playbacks started.
class FakeSound : public SoundChannel {
public:
    explicit FakeSound(QStringList *played) : played_(played) {}
    void setFileName(const QString &path) override { file_ = path; }
    void command(const QString &cmd) override
    {
        commands.push_back(cmd);
        if (cmd == u"play" && played_)
            played_->push_back(file_.section(u'/', -1).section(u'\\', -1));
    }
    std::vector<QString> commands;
    const QString &fileName() const { return file_; }

private:
    QString file_;
    QStringList *played_;
};

class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString text, title;
    };
    std::vector<Shown> shown;
    void message(const QString &text, const QString &title) override { shown.push_back({text, title}); }
};

// Paths inside a scratch folder: "cwd" for results and streak files,
// "program" for the program's own files (created), and a machine-name file
// and roster that exist only once something writes them.
inline Paths scratchPaths(const QString &root)
{
    const QDir dir(root);
    Paths paths{dir.filePath(QStringLiteral("cwd")), dir.filePath(QStringLiteral("program")),
                dir.filePath(QStringLiteral("compname.txt")),
                dir.filePath(QStringLiteral("program/roster.ini"))};
    QDir().mkpath(paths.currentFolder);
    QDir().mkpath(paths.programFolder);
    return paths;
}
