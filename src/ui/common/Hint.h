#pragma once

class QString;
class QWidget;

namespace qv {

// Gives a control its hint: the short form (before a "|") as its tool tip,
// the whole hint as its status tip, whose long form the status line shows
// while the pointer is over the control.
void setHint(QWidget *widget, const QString &hint);

} // namespace qv
