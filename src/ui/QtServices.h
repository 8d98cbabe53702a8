#pragma once
// The real outside world: the system clock, the sound device and the message
// box.
#include "controls/Services.h"
#include "ui/SoundPlayer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>

#include <memory>
#include <utility>
#include <vector>

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() const override
    {
        return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    }
    QDate today() const override { return QDate::currentDate(); }
    double monotonicSeconds() const override { return double(elapsed_.nsecsElapsed()) / 1e9; }

private:
    QElapsedTimer elapsed_ = started();
    static QElapsedTimer started()
    {
        QElapsedTimer t;
        t.start();
        return t;
    }
};

// One sound channel. "open" loads the file, "prev" rewinds, "play" starts it
// from the beginning, "close" stops it. A missing file, a machine without an
// audio device or without the sound module stays silent.
class QtSoundChannel : public SoundChannel {
public:
    explicit QtSoundChannel(SoundModule &module = SoundModule::besideProgram());
    ~QtSoundChannel() override;
    void setFileName(const QString &path) override { file_ = path; }
    void command(const QString &cmd) override;
    void setMuted(bool muted) override;

private:
    QString file_;
    QString loaded_;
    SoundModule &module_;
    std::unique_ptr<SoundPlayer> player_;
};

// Messages wait until the window has shown what led to them; the window
// opens them, one after another, once it has painted.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    // The message's text in the window's own font, as large as its panels.
    void setFont(const QFont &font) { font_ = font; }
    void message(const QString &text, const QString &title) override { pending_.push_back({text, title}); }
    bool hasPending() const override { return !pending_.empty(); }
    void showPending() override
    {
        while (!pending_.empty()) {
            const auto [text, title] = pending_.front();
            pending_.erase(pending_.begin());
            QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
            if (font_.pixelSize() > 0)
                box.setFont(font_);
            box.exec();
        }
    }

private:
    QWidget *parent_;
    QFont font_;
    std::vector<std::pair<QString, QString>> pending_;
};
