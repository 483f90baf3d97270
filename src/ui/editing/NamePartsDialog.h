#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qv {

class TableView;

// The small frameless window in which the given name, surname and middle
// name of the entry being edited are set by hand. The fields write into the
// open person row as the user types; Cancel writes back what they held when
// the window opened.
class NamePartsDialog : public QDialog {
    Q_OBJECT
public:
    explicit NamePartsDialog(QWidget *parent = nullptr);

    // Opens modally just below the Name field, as wide as it and in its
    // font; returns whether the parts were confirmed.
    bool edit(TableView &persons, QWidget *nameField);

    QLineEdit *givenNameField() const { return m_given; }
    QLineEdit *surnameField() const { return m_surname; }
    QLineEdit *midNameField() const { return m_mid; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_given;
    QLineEdit *m_surname;
    QLineEdit *m_mid;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
};

} // namespace qv
