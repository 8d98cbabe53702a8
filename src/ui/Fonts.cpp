#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>
#include <cstdio>

namespace fonts {

static const QString kDesignFont = QStringLiteral("ＭＳ Ｐゴシック");

// The Japanese Gothic found on this machine, asked for by its own name: a
// font asked for as the design font would be looked up in vain first, at
// every size, before its substitute is tried.
static QString installed;

bool install()
{
    const QStringList families = QFontDatabase::families();
    for (const char *candidate : {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic"}) {
        const QString name = QString::fromLatin1(candidate);
        if (families.contains(name)) {
            QFont::insertSubstitution(kDesignFont, name);
            installed = name;
            return true;
        }
    }
    std::fprintf(stderr, "soremuka: no Japanese Gothic font found (install fonts-ipafont-gothic); "
                         "Japanese text will not show correctly\n");
    return false;
}

static QFont base(const QString &name, bool bold)
{
    const bool design = name.isEmpty() || name == kDesignFont;
    QFont f(design && !installed.isEmpty() ? installed : design ? kDesignFont : name);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont twipsFont(const QString &name, double sizePt, bool bold)
{
    QFont f = base(name, bold);
    f.setPixelSize(std::max(1, int(std::lround(sizePt * 20.0))));
    return f;
}

QFont widgetFont(const QString &name, double sizePt, bool bold, double pixelsPerTwip)
{
    QFont f = base(name, bold);
    f.setPixelSize(std::max(1, int(std::lround(sizePt * 20.0 * pixelsPerTwip))));
    return f;
}

} // namespace fonts
