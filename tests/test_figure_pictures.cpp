// The pictures of one figure of each kind, as the driver renders Picture6:
// each is an image of the drawing area's shape with the figure's ink on it.
// They are kept under test-out/figures for a reader to look at.
#include "DriveRunner.h"
#include "figure_kinds.h"

#include <QDir>
#include <QFile>
#include <QImage>

TEST(FigurePictures, OnePictureOfEachKind)
{
    const QString out = QStringLiteral(SOREMUKA_TEST_OUT "/figures");
    QDir().mkpath(out);
    for (const FigureKind &k : kFigureKinds) {
        SCOPED_TRACE(figureKindName(k));
        DriveRun d;
        ASSERT_EQ(d.run(figureKindScript(k, u"shot Picture6 @/p.png\n"_qs), {u"--all-sets"_qs}), 0)
            << d.stdErr.toStdString();
        const QImage picture(d.path(u"p.png"_qs));
        ASSERT_FALSE(picture.isNull());
        // Picture6 is 5175 by 4935 twips.
        EXPECT_NEAR(double(picture.width()) / picture.height(), 5175.0 / 4935.0, 0.02);
        // Dark ink of the axes, lines and letters on the light background.
        int dark = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 96;
        EXPECT_GT(dark, 300);

        const QString name = QString::fromUtf16(k.set) + u'-' + QString::number(k.position) + u".png"_qs;
        QFile::remove(out + u'/' + name);
        EXPECT_TRUE(QFile::copy(d.path(u"p.png"_qs), out + u'/' + name));
    }
}
