#pragma once
// The outside world as the form sees it. Each service is a small interface so
// that the program, the driver and the tests can each hand in their own.
#include <QDate>
#include <QString>
#include <QStringList>

// Time of day and date.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, fractional.
    virtual double secondsSinceMidnight() const = 0;
    // Seconds on a clock that only moves forward, from any start: a run is
    // timed on it, so that midnight, a new date or a time server's step of
    // the wall clock neither stops nor stretches a run.
    virtual double monotonicSeconds() const = 0;
    virtual QDate today() const = 0;
    // The short date as the results files write it: 2026/12/07.
    QString dateText() const { return today().toString(QStringLiteral("yyyy/MM/dd")); }
    // Sunday = 1 … Saturday = 7.
    int weekday() const { return today().dayOfWeek() % 7 + 1; }
};

// Uniform numbers in [0, 1), reseeded from the clock.
class Random {
public:
    virtual ~Random() = default;
    virtual void reseed(double clockSeconds) = 0;
    virtual double next() = 0;
};

// One multimedia channel, driven by command strings ("close", "open", "prev",
// "play") as a media control is. Returns at once; playback runs on its own.
class SoundChannel {
public:
    virtual ~SoundChannel() = default;
    virtual void setFileName(const QString &path) = 0;
    virtual void command(const QString &cmd) = 0;
    // A muted channel takes its commands as ever and stays silent.
    virtual void setMuted(bool muted) { muted_ = muted; }
    bool muted() const { return muted_; }

private:
    bool muted_ = false;
};

// The modal message box with an exclamation icon and a single OK button.
// The form never uses the answer, so a window may hold a message until it
// has shown the state that led to it, and open it then.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString &text, const QString &title) = 0;
    virtual bool hasPending() const { return false; }
    virtual void showPending() {}
};

// Where the program finds and keeps its files.
struct Paths {
    QString currentFolder;   // results and streak files
    QString programFolder;   // sounds and the roster live beside the program
    QString machineNameFile; // first line: this machine's name
    QString rosterFile;      // display names per machine and time slot
};
