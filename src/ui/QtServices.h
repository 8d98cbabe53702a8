#pragma once
// The real outside world: the system clock, the sound device and the message
// box.
#include "controls/Services.h"

#include <QDateTime>
#include <QMessageBox>

class QSoundEffect;

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() const override
    {
        return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    }
    QDate today() const override { return QDate::currentDate(); }
};

// One sound channel. "open" loads the file, "prev" rewinds, "play" starts it
// from the beginning, "close" stops it. A missing file or a machine without an
// audio device stays silent.
class QtSoundChannel : public SoundChannel {
public:
    QtSoundChannel();
    ~QtSoundChannel() override;
    void setFileName(const QString &path) override { file_ = path; }
    void command(const QString &cmd) override;

private:
    QString file_;
    QString loaded_;
    QSoundEffect *effect_ = nullptr;
};

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void message(const QString &text, const QString &title) override
    {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
        box.exec();
    }

private:
    QWidget *parent_;
};
