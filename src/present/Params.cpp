#include "present/Params.h"

#include "controls/Convert.h"

int16_t Params::number(int k) const { return conv::textToInt16(field(k)); }

QString Params::after(int commas) const
{
    int at = -1;
    for (int i = 0; i < commas; ++i) {
        at = text.indexOf(u',', at + 1);
        if (at < 0)
            return QString();
    }
    return text.mid(at + 1);
}

void splitQuestion(const QString &q, QString &text, QString &params)
{
    const int hash = q.indexOf(u'#');
    text = hash >= 0 ? q.left(hash) : q;
    params = hash >= 0 ? q.mid(hash + 1) : QString();
}
