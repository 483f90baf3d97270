#pragma once

#include <QDialog>

namespace qv {

// A memo of the detail pane, larger and read-only, with "&OK" to close it.
class TextViewer : public QDialog {
    Q_OBJECT
public:
    TextViewer(const QString &text, const QFont &font, QWidget *parent = nullptr);
};

} // namespace qv
