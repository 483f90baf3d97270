#pragma once

#include <QPixmap>

namespace qv {

// The program's icon, the picture the desktop shows for it, drawn square at
// the given side in the screen's logical pixels and sharp at its pixel ratio.
QPixmap programIcon(int side, qreal devicePixelRatio);

} // namespace qv
