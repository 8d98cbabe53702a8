#pragma once
// The window's font is "ＭＳ Ｐゴシック". Where that font does not exist it is
// replaced by a proportional Japanese Gothic, never silently by a Latin font.
// The substitute is found by what it is (it covers Japanese, its letters are
// not all of one width, it is a Gothic) and never by one spelling of its
// name: on a Japanese desktop the font system gives its families their
// Japanese names (「IPA Pゴシック」 for IPAPGothic).
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

namespace fonts {

// Registers the substitution; call once after the application object exists.
// Returns false (and says so on standard error) when no Japanese font is
// installed at all.
bool install();

// The family that stands for the design font once install() has found one;
// empty before, or when there is none.
QString family();

// A font whose pixel size is the point size in twips (20 per point): text is
// laid out in twips and scaled to the screen by the painter.
QFont twipsFont(const QString &name, double sizePt, bool bold);

// A font for a widget at the given number of pixels per twip.
QFont widgetFont(const QString &name, double sizePt, bool bold, double pixelsPerTwip);

// One installed face as the font system describes it.
struct Face {
    QStringList names;          // every name of its family, in every language it has
    bool japanese = false;      // covers the Japanese language
    bool proportional = false;  // letters of their own widths (not mono or dual width)
    bool sansListed = false;    // the system lists it among its sans-serif fonts
};

// Which face stands for the design font: the design font itself if it is
// there; else the first Japanese face, in the order given (the system's
// preference), that is proportional and a Gothic, then one that is a Gothic,
// then one that is proportional, then any Japanese face. -1 when there is no
// Japanese face.
int chooseFace(const std::vector<Face> &faces);

// True when one of the names says the face is a Gothic (sans-serif) in any
// of the spellings Japanese fonts use, and none says it is a Mincho.
bool namedGothic(const QStringList &names);

// Of a face's names, the one the application's font database knows it by
// (the names it lists depend on the desktop's language); the first name
// when it lists none of them.
QString nameKnownAs(const QStringList &names, const QStringList &listed);

} // namespace fonts
