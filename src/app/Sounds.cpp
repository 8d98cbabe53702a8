// The feedback sounds. Each channel is closed and opened again on every call,
// so a sound always restarts from its beginning; the two channels are
// independent, so a buzz can overlap a chime.
#include "form/Form1.h"

#include "controls/TextFiles.h"

void Form1::playSound(MmControl &control, SoundChannel &channel, const QString &file)
{
    auto send = [&](const QString &cmd) {
        control.LastCommand = cmd;
        channel.command(cmd);
    };
    send(QStringLiteral("close"));
    control.FileName = textfiles::join(run.dataFolder, file);
    channel.setFileName(control.FileName);
    send(QStringLiteral("open"));
    send(QStringLiteral("prev"));
    send(QStringLiteral("play"));
}

void Form1::playCorrectSound()
{
    playSound(MMControl1, s_.sound1, QStringLiteral("Maru.wav"));
    Text6.Text.clear();
}

void Form1::playWrongSound() { playSound(MMControl2, s_.sound2, QStringLiteral("SD05.wav")); }
