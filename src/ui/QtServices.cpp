#include "ui/QtServices.h"

#include "places/Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

SoundModule &SoundModule::ofProgram()
{
    // Where no module was found, the message of the failed load names the
    // file beside the program.
    static SoundModule module([] {
        const QString found = places::ofRunningProgram().soundModule;
        return found.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath(places::soundModuleFileName())
                               : found;
    }());
    return module;
}

bool SoundModule::load()
{
    if (!tried_) {
        tried_ = true;
        // Never unloaded: players made by it live until the program ends.
        QLibrary library(file_);
        if (library.load())
            entry_ = reinterpret_cast<NewSoundPlayer>(library.resolve(SOREMUKA_SOUND_ENTRY));
        if (!entry_)
            std::fprintf(stderr, "soremuka: no sound module (%s); the sounds stay silent\n",
                         qPrintable(library.errorString()));
    }
    return entry_ != nullptr;
}

std::unique_ptr<SoundPlayer> SoundModule::newPlayer()
{
    if (!load())
        return nullptr;
    return std::unique_ptr<SoundPlayer>(entry_());
}

QtSoundChannel::QtSoundChannel(SoundModule &module) : module_(module) {}

QtSoundChannel::~QtSoundChannel() = default;

void QtSoundChannel::command(const QString &cmd)
{
    if (cmd == u"close") {
        if (player_)
            player_->stop();
    } else if (cmd == u"open") {
        if (!QFileInfo(file_).isFile())
            return;
        if (!player_)
            player_ = module_.newPlayer();
        if (player_ && loaded_ != file_) {
            player_->load(file_);
            loaded_ = file_;
        }
    } else if (cmd == u"prev") {
        if (player_)
            player_->stop();
    } else if (cmd == u"play") {
        if (player_ && !loaded_.isEmpty() && !muted())
            player_->play();
    }
}

void QtSoundChannel::setMuted(bool muted)
{
    SoundChannel::setMuted(muted);
    if (muted && player_)
        player_->stop(); // a sound playing now stops too
}
