#pragma once
#include "controls/Canvas.h"
#include "ui/LabelPlacement.h"
#include "ui/ResultsChart.h"

#include <QColor>
#include <QPainter>
#include <QRegion>
#include <QSizeF>

#include <cstdint>
#include <vector>

struct PaintOptions {
    // The box's size in twips as the window shows it; the designed size
    // when not given.
    QSizeF boxTwips;
    // The results chart: read from the display list and set out at the
    // window's text size (ui/ResultsChart.h), its sets named by `caption`.
    bool chart = false;
    chart::CaptionOf caption;
    // Labels on halos of the background, kept inside the box, and moved a
    // little aside where they would fall on another label or cut a stroke
    // of the figure (the figures and the chart, whose labels sit near axis
    // numbers, lines and each other; see ui/LabelPlacement.h); the typeset
    // answers keep their exact layout.
    bool nudgeLabels = false;
    // The text panels: all their lines made smaller together where they do
    // not fit the box.
    bool fitText = false;
    // What is painted over the background: the shapes (lines, boxes,
    // circles), the labels (each on its halo), or both. A view that keeps
    // the shapes of a box can paint its labels apart.
    enum Layer { Shapes = 1, Labels = 2 };
    int layers = Shapes | Labels;
    // On paper (the worksheets): grid lines in grey and axes at least twice
    // as heavy and never thinner than a few device pixels, so the axes stand
    // out of the grid at any resolution.
    bool paper = false;
};

// Paints a picture box's background and display list. The painter's
// coordinates are pixels of the box; pixelsPerTwip maps the box's twips.
// Every label is drawn to be read, placed as ui/LabelPlacement.h says.
void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options = {});

// A region as a few rectangles that cover it: in bands of `band` rows, the
// parts of each band within `gap` of each other joined into one. A line
// across the plane changes a long staircase of small rectangles; each
// rectangle painted is one more clip span, one more image sent to the
// display and one more report of damage, where a few larger ones cost a
// little more filling and much less of everything else.
QRegion fewerRects(const QRegion &region, int band, int gap);

// A canvas set out for painting: what paintCanvas paints, piece by piece in
// its order (the background, each line and shape, each label's halo, the
// axis ends the halos cut off, each label's text), every piece with the
// part of the box it can touch. A view keeps the scene it painted last; the
// scene of the changed canvas tells where the two pictures can differ, and
// only there is painted again, in full and in order, so that the picture
// is exactly the one a full repaint would give. The scene refers to the
// canvas and is valid while the canvas stays as it was.
class CanvasScene {
public:
    CanvasScene(const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options);

    // Paints the pieces that touch `only` (pixels of the box); all of them
    // when it is empty. The painter is clipped to `only` by the caller (a
    // paint event's region is).
    void paint(QPainter &painter, const QRegion &only = {}) const;

    // Where this picture can differ from the one `before` painted, in whole
    // pixels of the box: empty when the two are the same. `newShapesFrom`,
    // when given, is set to where the last run of lines and shapes that this
    // scene paints and `before` did not begins (pieceCount() when there is
    // none): while the learner draws, the point and the line that follow
    // the pointer.
    QRegion changedSince(const CanvasScene &before, std::size_t *newShapesFrom = nullptr) const;
    // The same for the pictures of the background and the first `end`
    // pieces of this scene and the first `beforeEnd` of `before`: where a
    // kept picture of the still part must be painted again.
    QRegion firstChangedSince(const CanvasScene &before, std::size_t end, std::size_t beforeEnd) const;

    // How many of the first pieces the two scenes paint alike, in order: a
    // picture of the background and those pieces (`paintBase`) serves both.
    std::size_t sharedWith(const CanvasScene &before) const;
    std::size_t pieceCount() const { return pieces_.size(); }
    // How many pieces are lines and shapes: the labels come after them.
    std::size_t shapeCount() const;
    // The background and the first `end` pieces, whole, or those of them
    // that touch `only` (pixels of the box) when it is given.
    void paintBase(QPainter &painter, std::size_t end, const QRegion &only = {}) const;
    // The pieces from `from` on that touch `only`, over a picture that holds
    // the background and the pieces before `from` (paintBase's). The
    // painter is clipped to `only` by the caller.
    void paintOver(QPainter &painter, const QRegion &only, std::size_t from) const;

    // The whole box, in whole pixels.
    QRect boxPixels() const;

    const std::vector<labels::Label> &labels() const { return labels_; }

private:
    struct Piece {
        enum Kind : uint8_t { Shape, Halo, Stub, Text, Chart } kind;
        uint32_t index;           // the op (Shape), the label (Halo, Text) or the stub
        uint64_t key;             // what decides its pixels
        QRectF bounds;            // pixels of the box it can touch
        std::vector<QRectF> parts; // finer than bounds, for a long line or curve
    };
    void addShape(std::size_t index, const std::vector<QRectF> &partsInTwips);
    QRegion differs(const CanvasScene &before, std::size_t end, std::size_t beforeEnd, std::size_t *newShapesFrom) const;
    void paintPiece(QPainter &painter, const Piece &piece) const;
    // The pieces [from, to) that touch `only` (all when it is empty), on the
    // background first when asked.
    void paintPieces(QPainter &painter, const QRegion &only, std::size_t from, std::size_t to, bool background) const;

    const Canvas *canvas_;
    double ppt_;
    PaintOptions options_;
    QSizeF box_; // twips
    labels::BoxMap base_;
    std::vector<labels::Label> labels_;
    std::vector<QRectF> stubs_;
    std::vector<Piece> pieces_;
    uint64_t frame_ = 0; // the box, its scale, colour and options: a change repaints it all
};

// The labels of a canvas where paintCanvas shows them in a box of that size
// (twips), with their halos: what a test measures, and what a view that
// keeps its shapes apart paints again.
std::vector<labels::Label> placedLabels(const Canvas &canvas, QSizeF boxTwips, const PaintOptions &options);

// The paint options the window uses for each picture box.
PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips);

// A colour with red in the lowest byte.
QColor toQColor(int32_t bgr);
