#include "worksheet/WorksheetOutput.h"

#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace worksheet {

namespace {

// The PDF's coordinates are twips, as the pages are laid out: 1440 dots
// to the inch, far finer than any printer.
constexpr int kPdfResolution = 1440;

// Opens a temporary file beside path for writing.
bool openTarget(QSaveFile &file, const QString &path, QString &error)
{
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("%1 is a folder").arg(path);
        return false;
    }
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool commit(QSaveFile &file, const QString &path, QString &error)
{
    if (file.commit())
        return true;
    error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

static Pages pagesOf(const SheetLayout &layout)
{
    return {layout.pageCount(), [&layout](QPainter &p, int i) { layout.paintPage(p, i); }};
}

bool paintPdf(const SheetLayout &layout, const QString &title, QIODevice &device)
{
    return paintPdf(pagesOf(layout), title, device);
}

bool writePdf(const SheetLayout &layout, const QString &title, const QString &path, QString &error)
{
    return writePdf(pagesOf(layout), title, path, error);
}

bool writePng(const SheetLayout &layout, int page, double dpi, const QString &path, QString &error)
{
    return writePng(pagesOf(layout), page, dpi, path, error);
}

bool paintPdf(const Pages &pages, const QString &title, QIODevice &device)
{
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("soremuka"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < pages.count; ++i) {
        if (i > 0)
            writer.newPage();
        pages.paint(painter, i);
    }
    return painter.end();
}

bool writePdf(const Pages &pages, const QString &title, const QString &path, QString &error)
{
    QSaveFile file(path);
    if (!openTarget(file, path, error))
        return false;
    if (!paintPdf(pages, title, file)) {
        file.cancelWriting();
        error = QStringLiteral("cannot write %1: the PDF could not be drawn").arg(path);
        return false;
    }
    return commit(file, path, error);
}

bool writePng(const Pages &pages, int page, double dpi, const QString &path, QString &error)
{
    const double perTwip = dpi / 1440.0;
    QImage image(int(std::lround(kPageWidth * perTwip)), int(std::lround(kPageHeight * perTwip)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.scale(perTwip, perTwip);
        pages.paint(painter, page);
    }
    QSaveFile file(path);
    if (!openTarget(file, path, error))
        return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        error = QStringLiteral("cannot write %1: the picture could not be encoded").arg(path);
        return false;
    }
    return commit(file, path, error);
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (!openTarget(file, path, error))
        return false;
    if (file.write(bytes) != bytes.size()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return commit(file, path, error);
}

} // namespace worksheet
