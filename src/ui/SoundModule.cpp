// The soremuka-sound module: the feedback sounds played with Qt Multimedia.
// Built as a module of its own so that the program starts without Qt
// Multimedia's libraries (ui/SoundPlayer.h says why).
#include "ui/SoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

namespace {

class EffectPlayer : public SoundPlayer {
public:
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
