#pragma once

#include <QSize>

class QFont;

namespace qv {

// The window's designed pixel sizes assume a font whose lines are 13 pixels
// high. Larger fonts need every size grown in proportion, or texts get cut;
// smaller fonts keep the designed sizes.
class LayoutScale {
public:
    explicit LayoutScale(int lineHeight);
    // The scale of the application's font.
    static LayoutScale ofApplication();
    static LayoutScale ofFont(const QFont &font);

    double factor() const { return m_factor; }
    int operator()(int designedPixels) const;
    QSize operator()(int designedWidth, int designedHeight) const;

private:
    double m_factor;
};

} // namespace qv
