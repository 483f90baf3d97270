#include "common/LayoutScale.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kDesignedLineHeight = 13.0;

} // namespace

LayoutScale::LayoutScale(int lineHeight)
    : m_factor(std::max(1.0, lineHeight / kDesignedLineHeight))
{
}

LayoutScale LayoutScale::ofApplication()
{
    return ofFont(QApplication::font());
}

LayoutScale LayoutScale::ofFont(const QFont &font)
{
    return LayoutScale(QFontMetrics(font).lineSpacing());
}

int LayoutScale::operator()(int designedPixels) const
{
    return int(std::lround(designedPixels * m_factor));
}

QSize LayoutScale::operator()(int designedWidth, int designedHeight) const
{
    return QSize((*this)(designedWidth), (*this)(designedHeight));
}

} // namespace qv
