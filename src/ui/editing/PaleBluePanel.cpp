#include "editing/PaleBluePanel.h"

#include <QWidget>

namespace qv {

void makePaleBlue(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, QColor(240, 251, 255));
    widget->setPalette(p);
}

} // namespace qv
