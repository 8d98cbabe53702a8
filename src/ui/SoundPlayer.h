#pragma once
// What the window needs of a sound player, kept apart from Qt Multimedia.
//
// Qt Multimedia brings about twenty libraries with it (the sound server's
// client, codecs, Qt Network, Kerberos). Linked into the program, every one of
// them is mapped and relocated before the window can open, which made
// start-up a sixth slower. So the player lives in a module of its own,
// soremuka-sound, laid beside the program in a build folder (lib/soremuka
// when installed) and loaded once the window has been painted. A machine where the module cannot be loaded plays no sound, as one
// without an audio device does, and the run goes on.
#include <QString>

#include <memory>
#include <utility>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Loads a WAV file; a file that cannot be played leaves the player silent.
    virtual void load(const QString &path) = 0;
    // Starts the loaded sound from its beginning.
    virtual void play() = 0;
    virtual void stop() = 0;
};

// The module's one entry point: a new player, owned by the caller.
using NewSoundPlayer = SoundPlayer *(*)();
#define SOREMUKA_SOUND_ENTRY "soremuka_new_sound_player"

// The module file and what it offers. A test may name another file.
class SoundModule {
public:
    explicit SoundModule(QString file) : file_(std::move(file)) {}
    // The running program's own soremuka-sound module, where the program
    // finds it (places/Places.h).
    static SoundModule &ofProgram();

    // Loads the module (the first call only) and says whether it is there.
    // A module that is missing or broken is reported once, on standard error.
    bool load();
    // A new player from the module, or null when the module cannot be loaded.
    std::unique_ptr<SoundPlayer> newPlayer();

private:
    QString file_;
    bool tried_ = false;
    NewSoundPlayer entry_ = nullptr;
};
