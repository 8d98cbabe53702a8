#pragma once
// A picture box: a user scale, a pen with colours and width, a running print
// position, and a display list of everything drawn since the last clear. The
// display list keeps coordinates as the program gave them, in the scale that
// was in force, so tests ask about figures in plane units and the view paints
// them in pixels.
#include "controls/TextMetrics.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct CanvasScale {
    double left = 0, top = 0, width = 1, height = 1;
    bool operator==(const CanvasScale &) const = default;
};

struct CanvasOp {
    enum Kind { Line, Box, Circle, Arc, Point, Print, Polyline };
    Kind kind = Line;
    CanvasScale scale;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Line, Box; x1/y1 is the point of the others
    double r = 0, start = 0, end = 0;      // Circle, Arc (angles in degrees, counter-clockwise)
    bool filled = false;                   // Box drawn filled with its colour
    std::optional<int32_t> fill;           // Circle interior, when the box fills
    int32_t color = 0;
    int width = 1;
    QString text;                          // Print
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    std::vector<QPointF> points;           // Polyline
    // Line, Polyline: the plane's drawing area (user units, normalised) the
    // stroke is shown within; none where the box has no plane.
    std::optional<QRectF> area;
};

class Canvas {
public:
    Canvas(const QString &name, int left, int top, int width, int height, int32_t backColor,
           double fontSize);

    QString Name;
    int Left, Top, Width, Height; // twips, in the window's client area
    bool Visible = true;
    int32_t BackColor;
    int32_t ForeColor = 0;
    int32_t FillColor = 0;
    int FillStyle = 1; // 1 transparent, 0 solid
    int DrawWidth = 1;
    QString FontName;
    double FontSize;
    bool FontBold = false;
    double CurrentX = 0, CurrentY = 0;

    void setMetrics(const TextMetrics *metrics) { metrics_ = metrics; }

    const CanvasScale &scale() const { return scale_; }
    double ScaleLeft() const { return scale_.left; }
    double ScaleTop() const { return scale_.top; }
    double ScaleWidth() const { return scale_.width; }
    double ScaleHeight() const { return scale_.height; }

    // Clears the drawing; the print position goes back to (0, 0).
    void Cls();
    // (x1, y1) is the top-left corner, (x2, y2) the bottom-right.
    void setScale(double x1, double y1, double x2, double y2);
    // Back to twips with the origin at the top left.
    void resetScale();
    // The plane's drawing area, in the scale in force: lines and curves
    // drawn from now on are shown only inside it (a graph stops at the grid
    // instead of running on to the box's edge). Clearing the box forgets it.
    void setDrawingArea(double x1, double y1, double x2, double y2);
    const std::optional<QRectF> &drawingArea() const { return area_; }

    void line(double x1, double y1, double x2, double y2, std::optional<int32_t> color = {});
    // From the pen position; consecutive calls form one polyline.
    void lineTo(double x, double y, std::optional<int32_t> color = {});
    void box(double x1, double y1, double x2, double y2, bool filled,
             std::optional<int32_t> color = {});
    void circle(double x, double y, double r, std::optional<int32_t> color = {});
    void arc(double x, double y, double r, double startDeg, double endDeg,
             std::optional<int32_t> color = {});
    void pset(double x, double y, std::optional<int32_t> color = {});

    // One print item at the pen position. Ending the line moves the pen to the
    // left edge of the next line; staying leaves it right after the item.
    void print(const QString &text, bool stayOnLine = false);
    // A number as a print item: " 5 " or "-5 ".
    void printNumber(double value, bool stayOnLine = false);
    // An empty print: just ends the line.
    void newLine();

    double textWidth(const QString &text) const;  // user units
    double textHeight() const;                     // user units, signed as the scale

    const std::vector<CanvasOp> &ops() const { return ops_; }

    // Grows with every change to what the box shows: its drawing cleared or
    // drawn on, or its background colour set anew. A view that keeps the
    // count it last painted knows, without looking at the drawing, whether
    // it has anything to paint.
    uint64_t changeCount() const;

private:
    CanvasOp makeOp(CanvasOp::Kind kind, std::optional<int32_t> color) const;
    double twipsToUserX(double twips) const { return twips * scale_.width / Width; }
    double twipsToUserY(double twips) const { return twips * scale_.height / Height; }

    CanvasScale scale_;
    std::optional<QRectF> area_;
    const TextMetrics *metrics_ = nullptr;
    std::vector<CanvasOp> ops_;
    // The background colour is a plain field the form sets: it counts as a
    // change when it differs from the one last seen.
    mutable uint64_t changes_ = 0;
    mutable int32_t seenBackColor_ = 0;
    void changed() { ++changes_; }
};
