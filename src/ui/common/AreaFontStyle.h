#pragma once

#include <QColor>
#include <QFont>

namespace qv {

struct AreaFont;

// The settings' 0x00BBGGRR colour value as a colour, and back.
QColor areaColour(int value);
int areaColourValue(const QColor &colour);
// The font an area's settings name, at 10 points when the size is not usable.
QFont areaQFont(const AreaFont &font);

} // namespace qv
