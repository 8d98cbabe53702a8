// The real sound channel on a classroom machine without an audio device: a
// missing file and a file that is there both take the full command sequence
// of an answer, again and again, and the run goes on in silence. The player
// comes from the sound module beside the program; without it, too, the
// channel stays silent.
#include "ui/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A sound file the build lays beside the programs it makes.
QString soundBesideThePrograms()
{
    return QFileInfo(QStringLiteral(SOREMUKA_DRIVE)).dir().filePath(QStringLiteral("SD05.wav"));
}
} // namespace

TEST(QtSoundChannel, SilentWithoutAudioDeviceOrSoundFile)
{
    const QString beside = soundBesideThePrograms();
    for (const QString &file : {QStringLiteral("/nonexistent/Maru.wav"), beside}) {
        SCOPED_TRACE(file.toStdString());
        QtSoundChannel channel;
        channel.setFileName(file);
        for (int i = 0; i < 3; ++i)
            for (const char *cmd : {"close", "open", "prev", "play"})
                channel.command(QString::fromLatin1(cmd));
        QCoreApplication::processEvents();
        // Muted, it takes the same commands and stays silent.
        channel.setMuted(true);
        EXPECT_TRUE(channel.muted());
        for (const char *cmd : {"close", "open", "prev", "play"})
            channel.command(QString::fromLatin1(cmd));
        QCoreApplication::processEvents();
    }
}

TEST(QtSoundChannel, PlayerComesFromTheModuleBesideTheProgram)
{
    // The build lays the module beside the programs it builds, the tests
    // included; a build that forgot it would start a silent program.
    SoundModule &module = SoundModule::ofProgram();
    ASSERT_TRUE(module.load());
    EXPECT_NE(module.newPlayer(), nullptr);
    // Loaded once: asking again gives a player from the same module.
    EXPECT_TRUE(module.load());
    EXPECT_NE(module.newPlayer(), nullptr);
}

TEST(QtSoundChannel, SilentWhenTheModuleIsMissingOrBroken)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A file of that name that is no library at all.
    const QString broken = folder.filePath(QStringLiteral("libbroken-sound.so"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a library");
    }
    const QString beside = soundBesideThePrograms();
    for (const QString &file : {folder.filePath(QStringLiteral("soremuka-sound")), broken}) {
        SCOPED_TRACE(file.toStdString());
        SoundModule module(file);
        EXPECT_FALSE(module.load());
        EXPECT_EQ(module.newPlayer(), nullptr);
        QtSoundChannel channel(module);
        channel.setFileName(beside);
        for (const char *cmd : {"close", "open", "prev", "play", "close"})
            channel.command(QString::fromLatin1(cmd));
        channel.setMuted(true);
        EXPECT_TRUE(channel.muted());
    }
}
