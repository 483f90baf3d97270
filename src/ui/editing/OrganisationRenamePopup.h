#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace qv {

// The small frameless box in which the entry editor's current organisation
// gets a new name: a text field across the width and, at its right, a
// confirm button over a cancel button.
class OrganisationRenamePopup : public QDialog {
    Q_OBJECT
public:
    explicit OrganisationRenamePopup(QWidget *parent = nullptr);

    // Opens modally with the text, its left edge at the given point's x and
    // its bottom edge at the point's y; the name typed when confirmed.
    std::optional<QString> ask(const QString &text, const QPoint &bottomLeft, const QFont &font, int width);
    QLineEdit *nameField() const { return m_name; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_name;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace qv
