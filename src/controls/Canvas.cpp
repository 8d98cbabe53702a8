#include "controls/Canvas.h"

#include "controls/Convert.h"

static const FixedMetrics fallbackMetrics;

Canvas::Canvas(const QString &name, int left, int top, int width, int height, int32_t backColor,
               double fontSize)
    : Name(name), Left(left), Top(top), Width(width), Height(height), BackColor(backColor),
      FontName(QStringLiteral("ＭＳ Ｐゴシック")), FontSize(fontSize), seenBackColor_(backColor)
{
    metrics_ = &fallbackMetrics;
    resetScale();
}

uint64_t Canvas::changeCount() const
{
    if (BackColor != seenBackColor_) {
        seenBackColor_ = BackColor;
        ++changes_;
    }
    return changes_;
}

void Canvas::Cls()
{
    if (!ops_.empty())
        changed();
    ops_.clear();
    area_.reset();
    CurrentX = 0;
    CurrentY = 0;
}

void Canvas::setScale(double x1, double y1, double x2, double y2)
{
    scale_ = {x1, y1, x2 - x1, y2 - y1};
}

void Canvas::resetScale() { scale_ = {0, 0, double(Width), double(Height)}; }

void Canvas::setDrawingArea(double x1, double y1, double x2, double y2)
{
    area_ = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}

CanvasOp Canvas::makeOp(CanvasOp::Kind kind, std::optional<int32_t> color) const
{
    CanvasOp op;
    op.kind = kind;
    op.scale = scale_;
    op.color = color.value_or(ForeColor);
    op.width = DrawWidth;
    if (kind == CanvasOp::Line || kind == CanvasOp::Polyline)
        op.area = area_;
    return op;
}

void Canvas::line(double x1, double y1, double x2, double y2, std::optional<int32_t> color)
{
    CanvasOp op = makeOp(CanvasOp::Line, color);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x2;
    CurrentY = y2;
}

void Canvas::lineTo(double x, double y, std::optional<int32_t> color)
{
    const int32_t c = color.value_or(ForeColor);
    if (!ops_.empty()) {
        CanvasOp &last = ops_.back();
        if (last.kind == CanvasOp::Polyline && last.color == c && last.width == DrawWidth
            && last.scale == scale_ && last.area == area_ && last.points.back() == QPointF(CurrentX, CurrentY)) {
            last.points.emplace_back(x, y);
            changed();
            CurrentX = x;
            CurrentY = y;
            return;
        }
    }
    CanvasOp op = makeOp(CanvasOp::Polyline, c);
    op.points = {QPointF(CurrentX, CurrentY), QPointF(x, y)};
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x;
    CurrentY = y;
}

void Canvas::box(double x1, double y1, double x2, double y2, bool filled,
                 std::optional<int32_t> color)
{
    CanvasOp op = makeOp(CanvasOp::Box, color);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.filled = filled;
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x2;
    CurrentY = y2;
}

void Canvas::circle(double x, double y, double r, std::optional<int32_t> color)
{
    CanvasOp op = makeOp(CanvasOp::Circle, color);
    op.x1 = x;
    op.y1 = y;
    op.r = r;
    if (FillStyle == 0)
        op.fill = FillColor;
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x;
    CurrentY = y;
}

void Canvas::arc(double x, double y, double r, double startDeg, double endDeg,
                 std::optional<int32_t> color)
{
    CanvasOp op = makeOp(CanvasOp::Arc, color);
    op.x1 = x;
    op.y1 = y;
    op.r = r;
    op.start = startDeg;
    op.end = endDeg;
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x;
    CurrentY = y;
}

void Canvas::pset(double x, double y, std::optional<int32_t> color)
{
    CanvasOp op = makeOp(CanvasOp::Point, color);
    op.x1 = x;
    op.y1 = y;
    ops_.push_back(std::move(op));
    changed();
    CurrentX = x;
    CurrentY = y;
}

double Canvas::textWidth(const QString &text) const
{
    return twipsToUserX(metrics_->widthTwips(text, FontName, FontSize, FontBold));
}

double Canvas::textHeight() const
{
    return twipsToUserY(metrics_->heightTwips(FontName, FontSize, FontBold));
}

void Canvas::print(const QString &text, bool stayOnLine)
{
    if (!text.isEmpty()) {
        CanvasOp op = makeOp(CanvasOp::Print, {});
        op.x1 = CurrentX;
        op.y1 = CurrentY;
        op.text = text;
        op.fontName = FontName;
        op.fontSize = FontSize;
        op.bold = FontBold;
        ops_.push_back(std::move(op));
        changed();
        CurrentX += textWidth(text);
    }
    if (!stayOnLine)
        newLine();
}

void Canvas::printNumber(double value, bool stayOnLine)
{
    print(conv::printItem(value), stayOnLine);
}

void Canvas::newLine()
{
    CurrentX = scale_.left;
    CurrentY += textHeight();
}
