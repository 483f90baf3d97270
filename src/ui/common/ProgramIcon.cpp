#include "common/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace qv {

QPixmap programIcon(int side, qreal devicePixelRatio)
{
    // Drawn from the desktop's own scalable icon, so that both always agree.
    QSvgRenderer renderer(QStringLiteral(":/icons/quorvel.svg"));
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, side, side));
    return pixmap;
}

} // namespace qv
