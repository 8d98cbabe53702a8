#pragma once
// The window's font is "ＭＳ Ｐゴシック". Where that font does not exist it is
// replaced by a proportional Japanese Gothic, never silently by a Latin font.
#include <QFont>
#include <QString>

namespace fonts {

// Registers the substitution; call once after the application object exists.
// Returns false (and says so on standard error) when no Japanese Gothic font
// is installed.
bool install();

// A font whose pixel size is the point size in twips (20 per point): text is
// laid out in twips and scaled to the screen by the painter.
QFont twipsFont(const QString &name, double sizePt, bool bold);

// A font for a widget at the given number of pixels per twip.
QFont widgetFont(const QString &name, double sizePt, bool bold, double pixelsPerTwip);

} // namespace fonts
