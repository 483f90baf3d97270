#include "common/AreaFontStyle.h"

#include "settings/Settings.h"

namespace qv {

QColor areaColour(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int areaColourValue(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QFont areaQFont(const AreaFont &font)
{
    QFont f(font.name);
    f.setPointSize(font.size > 0 ? font.size : 10);
    return f;
}

} // namespace qv
