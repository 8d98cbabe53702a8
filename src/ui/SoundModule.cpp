// The soremuka-sound module: the feedback sounds played with Qt Multimedia.
// Built as a module of its own so that the program starts without Qt
// Multimedia's libraries (ui/SoundPlayer.h says why).
#include "ui/SoundPlayer.h"

#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

class EffectPlayer : public SoundPlayer {
public:
    // Qt Multimedia reads a sound in a thread of its own and goes on doing so
    // after the effect is gone. A process that ends while a sound is still
    // being read tears Qt down under that thread: it crashed or hung at exit
    // (the sample cache waits for its thread, which waits for the cache's
    // lock). So a player that goes while its sound is still being read waits
    // for the reading to end, a moment at most.
    ~EffectPlayer() override
    {
        if (effect_.status() != QSoundEffect::Loading)
            return;
        QEventLoop loop;
        QObject::connect(&effect_, &QSoundEffect::statusChanged, &loop, [this, &loop] {
            if (effect_.status() != QSoundEffect::Loading)
                loop.quit();
        });
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    void load(const QString &path) override { effect_.setSource(QUrl::fromLocalFile(path)); }
    void play() override { effect_.play(); }
    void stop() override { effect_.stop(); }

private:
    QSoundEffect effect_;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundPlayer *soremuka_new_sound_player()
{
    return new EffectPlayer;
}
