#include "ui/QtServices.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundChannel::QtSoundChannel() = default;

QtSoundChannel::~QtSoundChannel() { delete effect_; }

void QtSoundChannel::command(const QString &cmd)
{
    if (cmd == u"close") {
        if (effect_)
            effect_->stop();
    } else if (cmd == u"open") {
        if (!QFileInfo(file_).isFile())
            return;
        if (!effect_)
            effect_ = new QSoundEffect;
        if (loaded_ != file_) {
            effect_->setSource(QUrl::fromLocalFile(file_));
            loaded_ = file_;
        }
    } else if (cmd == u"prev") {
        if (effect_)
            effect_->stop();
    } else if (cmd == u"play") {
        if (effect_ && !loaded_.isEmpty() && !muted())
            effect_->play();
    }
}

void QtSoundChannel::setMuted(bool muted)
{
    SoundChannel::setMuted(muted);
    if (muted && effect_)
        effect_->stop(); // a sound playing now stops too
}
