#include "common/DragCursors.h"

#include <QPainter>

namespace qv {

QPixmap dragCursor(const QString &sign, bool several)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    const QPointF arrow[] = {{0, 0}, {0, 16}, {4, 12}, {8, 20}, {10, 19}, {6, 11}, {12, 11}};
    p.drawPolygon(arrow, 7);
    p.setBrush(QColor(255, 255, 220));
    for (int offset = several ? 3 : 0; offset >= 0; offset -= 3)
        p.drawRect(12 + offset, 14 - offset, 16, 12);
    p.setFont(QFont(QStringLiteral("Sans"), 7, QFont::Bold));
    p.drawText(QRect(12, 14, 16, 12), Qt::AlignCenter, sign);
    return pixmap;
}

} // namespace qv
