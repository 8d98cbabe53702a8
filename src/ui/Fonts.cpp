#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QSet>

#include <cmath>
#include <cstdio>

#include <fontconfig/fontconfig.h>

namespace fonts {

static const QString kDesignFont = QStringLiteral("ＭＳ Ｐゴシック");

// The Japanese Gothic found on this machine, asked for by the name the font
// database knows it by: a font asked for as the design font would be looked
// up in vain first, at every size, before its substitute is tried.
static QString installed;

namespace {

bool anyNameContains(const QStringList &names, std::initializer_list<const char16_t *> marks)
{
    for (const QString &name : names)
        for (const char16_t *mark : marks)
            if (name.contains(QString::fromUtf16(mark), Qt::CaseInsensitive))
                return true;
    return false;
}

bool namedMincho(const QStringList &names)
{
    return anyNameContains(names, {u"mincho", u"明朝", u"serif", u"ﾐﾝﾁｮｳ"});
}

bool isDesignFont(const Face &face)
{
    for (const QString &name : face.names)
        if (name == kDesignFont || name.compare(u"MS PGothic", Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isGothic(const Face &face)
{
    return !namedMincho(face.names) && (face.sansListed || namedGothic(face.names));
}

QString fromFc(const FcChar8 *text) { return QString::fromUtf8(reinterpret_cast<const char *>(text)); }

// Every face fontconfig has, in the order it would choose them for Japanese
// sans-serif text: the desktop's own preference comes first.
std::vector<Face> fontconfigFaces()
{
    std::vector<Face> faces;
    FcConfig *config = FcConfigGetCurrent();
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("sans-serif:lang=ja"));
    if (!config || !pattern)
        return faces;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    // The families the configuration puts behind "sans-serif".
    QSet<QString> sans;
    FcChar8 *text = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &text) == FcResultMatch; ++i)
        sans.insert(fromFc(text).toCaseFolded());
    sans.remove(QStringLiteral("sans-serif"));

    FcResult result = FcResultNoMatch;
    FcFontSet *set = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    QSet<QString> seen;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern *font = set->fonts[i];
        Face face;
        for (int k = 0; FcPatternGetString(font, FC_FAMILY, k, &text) == FcResultMatch; ++k) {
            face.names << fromFc(text);
            face.sansListed = face.sansListed || sans.contains(face.names.last().toCaseFolded());
        }
        if (face.names.isEmpty() || seen.contains(face.names.join(u'\n')))
            continue;
        seen.insert(face.names.join(u'\n'));
        FcLangSet *langs = nullptr;
        face.japanese = FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch
                        && FcLangSetHasLang(langs, reinterpret_cast<const FcChar8 *>("ja")) == FcLangEqual;
        int spacing = FC_PROPORTIONAL;
        face.proportional = FcPatternGetInteger(font, FC_SPACING, 0, &spacing) != FcResultMatch
                            || spacing == FC_PROPORTIONAL;
        faces.push_back(face);
    }
    if (set)
        FcFontSetDestroy(set);
    FcPatternDestroy(pattern);
    return faces;
}

// Where fontconfig has nothing to say, the font database's own view: it
// cannot tell a dual-width face from a proportional one, nor a Gothic that
// is not named so.
std::vector<Face> databaseFaces()
{
    std::vector<Face> faces;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese)) {
        Face face;
        face.names = {family};
        face.japanese = true;
        face.proportional = !QFontDatabase::isFixedPitch(family);
        faces.push_back(face);
    }
    return faces;
}

} // namespace

bool namedGothic(const QStringList &names)
{
    return !namedMincho(names) && anyNameContains(names, {u"gothic", u"ゴシック", u"sans", u"ｺﾞｼｯｸ", u"角ゴ"});
}

int chooseFace(const std::vector<Face> &faces)
{
    const int n = int(faces.size());
    for (int i = 0; i < n; ++i)
        if (faces[i].japanese && isDesignFont(faces[i]))
            return i;
    const auto firstWhere = [&](auto wanted) {
        for (int i = 0; i < n; ++i)
            if (faces[i].japanese && wanted(faces[i]))
                return i;
        return -1;
    };
    for (const auto &wanted : std::initializer_list<bool (*)(const Face &)>{
             [](const Face &f) { return f.proportional && isGothic(f); },
             [](const Face &f) { return isGothic(f); },
             [](const Face &f) { return f.proportional; },
             [](const Face &) { return true; },
         }) {
        if (const int i = firstWhere(wanted); i >= 0)
            return i;
    }
    return -1;
}

QString nameKnownAs(const QStringList &names, const QStringList &listed)
{
    for (const QString &name : names)
        if (listed.contains(name))
            return name;
    return names.value(0);
}

bool install()
{
    std::vector<Face> faces = fontconfigFaces();
    int chosen = chooseFace(faces);
    if (chosen < 0) {
        faces = databaseFaces();
        chosen = chooseFace(faces);
    }
    if (chosen < 0) {
        installed.clear();
        std::fprintf(stderr, "soremuka: no Japanese font found (install fonts-ipafont-gothic); "
                             "Japanese text will not show correctly\n");
        return false;
    }
    installed = nameKnownAs(faces[size_t(chosen)].names, QFontDatabase::families());
    QFont::insertSubstitution(kDesignFont, installed);
    return true;
}

QString family() { return installed; }

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
