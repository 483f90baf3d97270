#include "editing/NamePartsDialog.h"

#include "common/Hint.h"
#include "data/TableView.h"
#include "editing/PaleBluePanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

namespace {

const QStringList kParts = {QStringLiteral("GivenName"), QStringLiteral("SurName"), QStringLiteral("MidName")};

} // namespace

NamePartsDialog::NamePartsDialog(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
    , m_given(new QLineEdit(this))
    , m_surname(new QLineEdit(this))
    , m_mid(new QLineEdit(this))
    , m_confirm(new QPushButton(this))
    , m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("namePartsDialog"));
    setWindowTitle(QStringLiteral("Name"));
    makePaleBlue(this);
    m_given->setObjectName(QStringLiteral("GivenNameEd"));
    m_surname->setObjectName(QStringLiteral("SurnameEd"));
    m_mid->setObjectName(QStringLiteral("AddNameEd"));
    // Small buttons, so the accelerators stay in the hints; Enter and Esc answer them.
    m_confirm->setObjectName(QStringLiteral("ConfirmBn"));
    m_confirm->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    setHint(m_confirm, QStringLiteral("Confirm the changes"));
    m_cancel->setObjectName(QStringLiteral("CancelBn"));
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    setHint(m_cancel, QStringLiteral("Cancle the changes"));
    m_confirm->setDefault(true);
    m_cancel->setAutoDefault(false);
    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Givenname"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Surname"), this), 0, 1);
    grid->addWidget(m_given, 1, 0);
    grid->addWidget(m_surname, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Midname"), this), 2, 0);
    grid->addWidget(m_mid, 3, 0);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    connect(m_confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_given, m_surname);
    setTabOrder(m_surname, m_mid);
}

bool NamePartsDialog::edit(TableView &persons, QWidget *nameField)
{
    const QList<QLineEdit *> fields = {m_given, m_surname, m_mid};
    QStringList found;
    for (int i = 0; i < fields.size(); ++i) {
        found << persons.text(kParts[i]);
        fields[i]->setText(found.last());
        fields[i]->disconnect(this);
        connect(fields[i], &QLineEdit::textEdited, this, [&persons, i](const QString &text) {
            if (persons.state() == TableView::State::Browse)
                persons.edit();
            persons.setValue(kParts[i], text);
        });
    }
    setFont(nameField->font());
    setFixedWidth(std::max(nameField->width(), minimumSizeHint().width())); // never so narrow that a label is cut
    adjustSize();
    move(nameField->mapToGlobal(QPoint(0, nameField->height())));
    m_given->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    for (QLineEdit *field : fields)
        field->disconnect(this);
    if (!confirmed) {
        if (persons.state() == TableView::State::Browse)
            persons.edit();
        for (int i = 0; i < fields.size(); ++i)
            persons.setValue(kParts[i], found[i]);
    }
    return confirmed;
}

void NamePartsDialog::showEvent(QShowEvent *event)
{
    // A window without a frame is not always activated by the window system.
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        activateWindow();
        m_given->setFocus();
    });
}

} // namespace qv
