#include "worksheet/WorksheetOutput.h"

#include "controls/PlainFile.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <cstring>

namespace worksheet {

namespace {

// The PDF's coordinates are twips, as the pages are laid out: 1440 dots
// to the inch, far finer than any printer.
constexpr int kPdfResolution = 1440;

// Writes the finished file as the results files are written: a complete
// copy renamed over the target, never through a link planted at its name
// (in a shared folder it could point at anyone's file), never into a folder
// or a pipe.
bool commit(const QString &path, const QByteArray &bytes, QString &error)
{
    using plainfile::Fault;
    const plainfile::Status status = plainfile::replace(path, bytes);
    switch (status.fault) {
    case Fault::None:
        return true;
    case Fault::Link:
        error = QStringLiteral("%1 is a symbolic link; the file is not written through it").arg(path);
        break;
    case Fault::Folder:
        error = QStringLiteral("%1 is a folder").arg(path);
        break;
    case Fault::NotPlain:
        error = QStringLiteral("%1 is not a plain file").arg(path);
        break;
    case Fault::TooLong:
        error = QStringLiteral("cannot write %1: the path is too long").arg(path);
        break;
    default:
        error = QStringLiteral("cannot write %1: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(status.error ? status.error : EIO)));
        break;
    }
    return false;
}

Pages pagesOf(const SheetLayout &layout)
{
    return {layout.pageCount(), [&layout](QPainter &p, int i) { layout.paintPage(p, i); }};
}

} // namespace

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
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    if (!paintPdf(pages, title, buffer)) {
        error = QStringLiteral("cannot write %1: the PDF could not be drawn").arg(path);
        return false;
    }
    buffer.close();
    return commit(path, pdf, error);
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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = QStringLiteral("cannot write %1: the picture could not be encoded").arg(path);
        return false;
    }
    return commit(path, png, error);
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &error)
{
    return commit(path, bytes, error);
}

} // namespace worksheet
