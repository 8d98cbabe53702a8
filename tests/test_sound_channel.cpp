// The real sound channel on a classroom machine without an audio device: a
// missing file and a file that is there both take the full command sequence
// of an answer, again and again, and the run goes on in silence.
#include "ui/QtServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(QtSoundChannel, SilentWithoutAudioDeviceOrSoundFile)
{
    const QString beside = QFileInfo(QStringLiteral(SOREMUKA_DRIVE)).dir().filePath(QStringLiteral("SD05.wav"));
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
