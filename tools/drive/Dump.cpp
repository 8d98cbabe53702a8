#include "Dump.h"

#include "FakeServices.h"
#include "ui/Layout.h"

#include <QJsonArray>

#include <cmath>

namespace {

// Single-precision values are written as their 7-digit text reads, so 0.1f
// appears as 0.1 and not as 0.100000001490116.
double cleanFloat(float f) { return QString::number(double(f), 'g', 7).toDouble(); }

QJsonValue num(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(); }

struct StateVisitor {
    QJsonObject &out;
    void operator()(const char *name, int16_t v) { out[QLatin1String(name)] = int(v); }
    void operator()(const char *name, float v) { out[QLatin1String(name)] = num(cleanFloat(v)); }
    void operator()(const char *name, double v) { out[QLatin1String(name)] = num(v); }
    void operator()(const char *name, const QString &v) { out[QLatin1String(name)] = v; }
    void operator()(const char *name, const StrArray &v)
    {
        QJsonArray a;
        for (const QString &s : v)
            a.append(s);
        out[QLatin1String(name)] = a;
    }
    void operator()(const char *name, const IntArray &v)
    {
        QJsonArray a;
        for (int16_t i : v)
            a.append(int(i));
        out[QLatin1String(name)] = a;
    }
};

QJsonValue color(int32_t c) { return c == kNoColor ? QJsonValue() : QJsonValue(int(c)); }

void addLook(QJsonObject &o, const ControlLook &l)
{
    o[u"left"] = l.Left;
    o[u"top"] = l.Top;
    o[u"width"] = l.Width;
    o[u"height"] = l.Height;
    o[u"backColor"] = color(l.BackColor);
    o[u"foreColor"] = color(l.ForeColor);
    o[u"fontName"] = l.FontName;
    o[u"fontSize"] = l.FontSize;
    o[u"fontBold"] = l.FontBold;
}

// The coordinates of one op, under the names the dump gives them.
void addCoordinates(QJsonObject &o, const CanvasOp &op)
{
    switch (op.kind) {
    case CanvasOp::Line:
    case CanvasOp::Box:
        o[u"x1"] = num(op.x1);
        o[u"y1"] = num(op.y1);
        o[u"x2"] = num(op.x2);
        o[u"y2"] = num(op.y2);
        if (op.kind == CanvasOp::Box)
            o[u"filled"] = op.filled;
        break;
    case CanvasOp::Circle:
    case CanvasOp::Arc:
        o[u"x"] = num(op.x1);
        o[u"y"] = num(op.y1);
        o[u"r"] = num(op.r);
        if (op.kind == CanvasOp::Circle) {
            o[u"fill"] = op.fill ? QJsonValue(int(*op.fill)) : QJsonValue();
        } else {
            o[u"start"] = num(op.start);
            o[u"end"] = num(op.end);
        }
        break;
    case CanvasOp::Point:
    case CanvasOp::Print:
        o[u"x"] = num(op.x1);
        o[u"y"] = num(op.y1);
        break;
    case CanvasOp::Polyline: {
        QJsonArray pts;
        for (const QPointF &p : op.points)
            pts.append(QJsonArray{num(p.x()), num(p.y())});
        o[u"points"] = pts;
        break;
    }
    }
}

// A drawing area: its least and greatest x and y in user units.
QJsonObject areaJson(const QRectF &a)
{
    return QJsonObject{{u"x1"_qs, a.left()}, {u"y1"_qs, a.top()}, {u"x2"_qs, a.right()}, {u"y2"_qs, a.bottom()}};
}

QJsonObject opJson(const CanvasOp &op)
{
    static const char16_t *const names[] = {u"line", u"box", u"circle", u"arc", u"point", u"print", u"polyline"};
    QJsonObject o;
    o[u"op"] = QString::fromUtf16(names[int(op.kind)]);
    if (op.kind == CanvasOp::Print) {
        o[u"text"] = op.text;
        o[u"fontSize"] = op.fontSize;
        o[u"fontName"] = op.fontName;
        o[u"bold"] = op.bold;
    }
    addCoordinates(o, op);
    o[u"color"] = int(op.color);
    if (op.kind != CanvasOp::Print)
        o[u"width"] = op.width;
    if (op.area)
        o[u"area"] = areaJson(*op.area);
    o[u"scale"] = QJsonObject{{u"left"_qs, op.scale.left},
                              {u"top"_qs, op.scale.top},
                              {u"width"_qs, op.scale.width},
                              {u"height"_qs, op.scale.height}};
    return o;
}

} // namespace

QJsonObject dumpCanvas(const Canvas &c)
{
    QJsonObject o;
    o[u"visible"] = c.Visible;
    o[u"left"] = c.Left;
    o[u"top"] = c.Top;
    o[u"width"] = c.Width;
    o[u"height"] = c.Height;
    o[u"backColor"] = int(c.BackColor);
    o[u"scale"] = QJsonObject{{u"left"_qs, c.ScaleLeft()},
                              {u"top"_qs, c.ScaleTop()},
                              {u"width"_qs, c.ScaleWidth()},
                              {u"height"_qs, c.ScaleHeight()}};
    o[u"currentX"] = num(c.CurrentX);
    o[u"currentY"] = num(c.CurrentY);
    o[u"fontName"] = c.FontName;
    o[u"fontSize"] = c.FontSize;
    o[u"fontBold"] = c.FontBold;
    o[u"foreColor"] = int(c.ForeColor);
    o[u"fillColor"] = int(c.FillColor);
    o[u"fillStyle"] = c.FillStyle;
    o[u"drawWidth"] = c.DrawWidth;
    o[u"drawingArea"] = c.drawingArea() ? QJsonValue(areaJson(*c.drawingArea())) : QJsonValue();
    QJsonArray ops;
    for (const CanvasOp &op : c.ops())
        ops.append(opJson(op));
    o[u"ops"] = ops;
    return o;
}

namespace {

// Every control of the window by its designed name: labels, text boxes,
// buttons, picture boxes, the timer and the two media controls.
QJsonObject dumpControls(Form1 &form)
{
    QJsonObject controls;
    controls[u"Form1"] = QJsonObject{{u"caption"_qs, form.Caption},
                                     {u"visible"_qs, form.Visible},
                                     {u"backColor"_qs, int(form.BackColor)},
                                     {u"width"_qs, form.ClientWidth},
                                     {u"height"_qs, form.ClientHeight}};
    for (Label *l : form.labels()) {
        QJsonObject o{{u"kind"_qs, u"label"_qs}, {u"caption"_qs, l->Caption}, {u"visible"_qs, l->Visible}};
        addLook(o, *l);
        controls[l->Name] = o;
    }
    for (TextBox *t : form.textBoxes()) {
        QJsonObject o{{u"kind"_qs, u"textbox"_qs}, {u"text"_qs, t->Text},        {u"visible"_qs, t->Visible},
                      {u"focused"_qs, t->Focused}, {u"tabIndex"_qs, t->TabIndex}};
        addLook(o, *t);
        controls[t->Name] = o;
    }
    for (Button *b : form.buttons()) {
        QJsonObject o{{u"kind"_qs, u"button"_qs}, {u"caption"_qs, b->Caption}, {u"visible"_qs, b->Visible},
                      {u"enabled"_qs, b->Enabled}};
        addLook(o, *b);
        controls[b->Name] = o;
    }
    for (Canvas *c : form.canvases())
        controls[c->Name] = QJsonObject{{u"kind"_qs, u"picture"_qs},     {u"visible"_qs, c->Visible},
                                        {u"left"_qs, c->Left},           {u"top"_qs, c->Top},
                                        {u"width"_qs, c->Width},         {u"height"_qs, c->Height},
                                        {u"backColor"_qs, int(c->BackColor)}, {u"fontName"_qs, c->FontName},
                                        {u"fontSize"_qs, c->FontSize}};
    controls[form.Timer1.Name] = QJsonObject{
        {u"kind"_qs, u"timer"_qs}, {u"interval"_qs, form.Timer1.Interval}, {u"enabled"_qs, form.Timer1.Enabled}};
    for (MmControl *m : {&form.MMControl1, &form.MMControl2})
        controls[m->Name] = QJsonObject{
            {u"kind"_qs, u"mci"_qs}, {u"fileName"_qs, m->FileName}, {u"lastCommand"_qs, m->LastCommand}};
    return controls;
}

// Where the window shows each control and its place in the stacking order,
// higher in front.
void addStacking(QJsonObject &controls, const Form1 &form)
{
    for (const layout::Placement &p : layout::arrange(form)) {
        if (p.windowOnly)
            continue;
        QJsonObject o = controls[p.name].toObject();
        o[u"z"] = p.z;
        o[u"shown"] = QJsonObject{{u"left"_qs, p.twips.left()},
                                  {u"top"_qs, p.twips.top()},
                                  {u"width"_qs, p.twips.width()},
                                  {u"height"_qs, p.twips.height()}};
        controls[p.name] = o;
    }
}

// The menu items among the controls, and the menu bar in its order.
QJsonArray dumpMenus(const Form1 &form, QJsonObject &controls)
{
    QJsonArray menuBar;
    QJsonObject top;
    QJsonArray items;
    auto flush = [&] {
        if (!top.isEmpty()) {
            top[u"items"] = items;
            menuBar.append(top);
        }
        top = {};
        items = {};
    };
    for (const MenuItem &m : form.menuItems) {
        controls[m.Name] = QJsonObject{{u"kind"_qs, u"menu"_qs},       {u"caption"_qs, m.Caption},
                                       {u"enabled"_qs, m.Enabled},     {u"checked"_qs, m.Checked},
                                       {u"visible"_qs, m.Visible},     {u"parent"_qs, m.Parent}};
        if (m.Parent.isEmpty()) {
            flush();
            top = {{u"name"_qs, m.Name}, {u"caption"_qs, m.Caption}};
        } else {
            items.append(m.Name);
        }
    }
    flush();
    return menuBar;
}

} // namespace

QJsonObject dumpForm(Form1 &form, const QStringList &sounds, const FakeDialogs &dialogs)
{
    QJsonObject state;
    StateVisitor sv{state};
    form.visitState(sv);
    QJsonObject controls = dumpControls(form);
    const QJsonArray menuBar = dumpMenus(form, controls);
    addStacking(controls, form);

    QJsonObject canvases;
    for (Canvas *c : form.canvases())
        canvases[c->Name] = dumpCanvas(*c);
    QJsonArray soundList;
    for (const QString &s : sounds)
        soundList.append(s);
    QJsonArray messages;
    for (const auto &m : dialogs.shown)
        messages.append(QJsonObject{{u"text"_qs, m.text}, {u"title"_qs, m.title}});
    return QJsonObject{{u"state"_qs, state},     {u"controls"_qs, controls}, {u"menuBar"_qs, menuBar},
                       {u"canvases"_qs, canvases}, {u"sounds"_qs, soundList}, {u"messages"_qs, messages},
                       {u"closed"_qs, form.closed}};
}
