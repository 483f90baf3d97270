#include "data/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

PasswordDialog::PasswordDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(QStringLiteral("Password Dialog"));
    m_prompt = new QLabel(QStringLiteral("Enter password:"), this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_password);
    layout->addWidget(buttons);
}

std::optional<QString> PasswordDialog::ask(const QString &prompt)
{
    m_prompt->setText(prompt);
    m_password->clear();
    m_password->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_password->text();
}

} // namespace qv
