#include "common/ScreenPlacement.h"

namespace qv {

QRect centredWithin(const QSize &wanted, const QRect &available)
{
    QRect placed(QPoint(), wanted.boundedTo(available.size()));
    placed.moveCenter(available.center());
    return placed;
}

} // namespace qv
