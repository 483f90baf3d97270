#pragma once

#include <QRect>

namespace qv {

// Where a window of the wanted size opens: centred in the screen's available
// area and never larger than it.
QRect centredWithin(const QSize &wanted, const QRect &available);

} // namespace qv
