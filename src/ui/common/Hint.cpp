#include "common/Hint.h"

#include <QWidget>

namespace qv {

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    widget->setStatusTip(hint);
}

} // namespace qv
