#pragma once

#include <QPixmap>
#include <QString>

namespace qv {

// A drag cursor: the arrow with a card beside it showing what the drop does
// (a sign), drawn as a stack when several entries travel.
QPixmap dragCursor(const QString &sign, bool several = false);

} // namespace qv
