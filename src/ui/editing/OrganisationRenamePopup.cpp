#include "editing/OrganisationRenamePopup.h"

#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "editing/PaleBluePanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

OrganisationRenamePopup::OrganisationRenamePopup(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
    , m_name(new QLineEdit(this))
    , m_ok(new QPushButton(this))
    , m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("organisationRenamePopup"));
    makePaleBlue(this);
    m_name->setObjectName(QStringLiteral("CompanyNameEd"));
    m_ok->setObjectName(QStringLiteral("OkBn"));
    m_ok->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    m_ok->setDefault(true);
    setHint(m_ok, QStringLiteral("Confirm the changes"));
    m_cancel->setObjectName(QStringLiteral("CancelBn"));
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_cancel->setAutoDefault(false);
    setHint(m_cancel, QStringLiteral("Cancel the changes"));
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_name, 1, Qt::AlignVCenter);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    const LayoutScale px = LayoutScale::ofApplication();
    resize(px(346, 61));
}

std::optional<QString> OrganisationRenamePopup::ask(const QString &text, const QPoint &bottomLeft, const QFont &font, int width)
{
    setFont(font);
    m_name->setText(text);
    m_name->selectAll();
    resize(std::max(width, minimumSizeHint().width()), sizeHint().height());
    move(bottomLeft.x(), bottomLeft.y() - height());
    m_name->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_name->text();
}

void OrganisationRenamePopup::showEvent(QShowEvent *event)
{
    // A window without a frame is not always activated by the window system.
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        activateWindow();
        m_name->setFocus();
    });
}

} // namespace qv
