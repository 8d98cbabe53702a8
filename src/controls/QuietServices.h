#pragma once
// The outside world for a run of the program without a window (the teacher's
// listings and worksheets): a clock that stands still, so that what is made
// from it comes out the same every time, sounds that are never heard and
// messages that are never shown.
#include "controls/Services.h"

#include <QDate>

class StillClock : public Clock {
public:
    explicit StillClock(double seconds = 9 * 3600, QDate date = QDate(2026, 1, 1))
        : seconds_(seconds), date_(date)
    {
    }
    double secondsSinceMidnight() const override { return seconds_; }
    QDate today() const override { return date_; }
    double monotonicSeconds() const override { return seconds_; }

private:
    double seconds_;
    QDate date_;
};

class SilentSound : public SoundChannel {
public:
    void setFileName(const QString &) override {}
    void command(const QString &) override {}
};

class UnshownDialogs : public Dialogs {
public:
    void message(const QString &, const QString &) override {}
};
