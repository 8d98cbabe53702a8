// The Japanese Gothic that stands for the design font, found by what a face
// is and never by one spelling of its name.
#include "ui/Fonts.h"

#include <QFontInfo>

#include <gtest/gtest.h>

using fonts::Face;

namespace {
Face face(QStringList names, bool japanese, bool proportional, bool sansListed = false)
{
    return Face{std::move(names), japanese, proportional, sansListed};
}
} // namespace

TEST(Fonts, TheProportionalJapaneseGothicIsChosenWhateverItsNamesLanguage)
{
    const Face dejavu = face({u"DejaVu Sans"_qs}, false, true, true);
    const Face ipaGothic = face({u"IPAGothic"_qs, u"IPAゴシック"_qs}, true, false, true);
    const Face ipaMincho = face({u"IPAMincho"_qs, u"IPA明朝"_qs}, true, false);
    const Face ipaPGothic = face({u"IPAPGothic"_qs, u"IPA Pゴシック"_qs}, true, true);
    const Face ipaPGothicJa = face({u"IPA Pゴシック"_qs, u"IPAPGothic"_qs}, true, true);
    const Face ipaPMincho = face({u"IPAPMincho"_qs, u"IPA P明朝"_qs}, true, true);
    const Face noto = face({u"Noto Sans CJK JP"_qs}, true, true, true);
    const Face unnamed = face({u"Schulschrift"_qs}, true, true);
    const Face design = face({u"MS PGothic"_qs, u"ＭＳ Ｐゴシック"_qs}, true, true);
    const struct {
        const char *what;
        std::vector<Face> faces;
        int chosen;
    } rows[] = {
        {"the IPA fonts in the system's order", {dejavu, ipaGothic, ipaMincho, ipaPGothic, ipaPMincho}, 3},
        {"its Japanese name first", {dejavu, ipaGothic, ipaMincho, ipaPGothicJa, ipaPMincho}, 3},
        {"a Gothic of one width before a proportional Mincho", {ipaPMincho, ipaGothic}, 1},
        {"the system's first choice among proportional Gothics", {noto, ipaPGothic}, 0},
        {"the design font itself, wherever it stands", {ipaPGothic, noto, design}, 2},
        {"a proportional Japanese face of no known kind", {unnamed, ipaMincho}, 0},
        {"any Japanese face rather than none", {dejavu, ipaMincho}, 1},
        {"no Japanese face at all", {dejavu}, -1},
        {"nothing installed", {}, -1},
    };
    for (const auto &r : rows)
        EXPECT_EQ(fonts::chooseFace(r.faces), r.chosen) << r.what;
}

TEST(Fonts, AGothicIsKnownByItsNameInEitherLanguage)
{
    for (const char16_t *name : {u"IPAPGothic", u"IPA Pゴシック", u"VL PGothic", u"Noto Sans CJK JP", u"TakaoPGothic",
                                 u"源ノ角ゴシック"})
        EXPECT_TRUE(fonts::namedGothic({QString::fromUtf16(name)})) << QString::fromUtf16(name).toStdString();
    for (const char16_t *name : {u"IPAPMincho", u"IPA P明朝", u"Noto Serif CJK JP", u"Schulschrift"})
        EXPECT_FALSE(fonts::namedGothic({QString::fromUtf16(name)})) << QString::fromUtf16(name).toStdString();
}

TEST(Fonts, TheFaceIsAskedForByTheNameTheFontDatabaseLists)
{
    // On a Japanese desktop the database lists 「IPA Pゴシック」 only.
    EXPECT_EQ(fonts::nameKnownAs({u"IPAPGothic"_qs, u"IPA Pゴシック"_qs}, {u"IPA Pゴシック"_qs, u"DejaVu Sans"_qs}),
              u"IPA Pゴシック"_qs);
    EXPECT_EQ(fonts::nameKnownAs({u"IPAPGothic"_qs, u"IPA Pゴシック"_qs}, {u"IPAPGothic"_qs}), u"IPAPGothic"_qs);
    EXPECT_EQ(fonts::nameKnownAs({u"IPAPGothic"_qs, u"IPA Pゴシック"_qs}, {}), u"IPAPGothic"_qs);
}

TEST(Fonts, TheDesignFontIsDrawnInTheFaceFound)
{
    // Installed by the test program's start, as the program does.
    ASSERT_FALSE(fonts::family().isEmpty());
    const QFontInfo shown(fonts::twipsFont(QString(), 10, false));
    EXPECT_EQ(shown.family(), fonts::family());
    EXPECT_EQ(QFontInfo(fonts::twipsFont(u"ＭＳ Ｐゴシック"_qs, 10, false)).family(), fonts::family());
    EXPECT_FALSE(shown.fixedPitch());
}
