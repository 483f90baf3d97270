#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace qv {

// Asks for an address book's password with a masked input line.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget *parent = nullptr);
    // Shows the prompt in place of "Enter password:"; the typed text, or nothing on Cancel.
    std::optional<QString> ask(const QString &prompt);

private:
    QLabel *m_prompt;
    QLineEdit *m_password;
};

} // namespace qv
