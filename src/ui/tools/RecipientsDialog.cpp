#include "tools/RecipientsDialog.h"

#include "common/Hint.h"
#include "common/LayoutScale.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

// The list shows at most this much of a recipient.
constexpr int kShownLength = 100;

} // namespace

RecipientsDialog::RecipientsDialog(QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("RecipientsDialog"));
    setWindowTitle(QStringLiteral("Recipients"));
    const LayoutScale px = LayoutScale::ofApplication();
    m_list->setObjectName(QStringLiteral("recipients"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Pro"), QStringLiteral("Email")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->setColumnWidth(1, px(380));
    m_list->setMinimumWidth(m_list->header()->sectionSizeHint(0) + px(380) + 2 * m_list->frameWidth()
                            + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto *remove = new QPushButton(QStringLiteral("&Delete"), this);
    remove->setObjectName(QStringLiteral("delete"));
    setHint(remove, QStringLiteral("Delete selected items"));
    auto *more = new QPushButton(QStringLiteral("&More"), this);
    more->setObjectName(QStringLiteral("more"));
    setHint(more, QStringLiteral("To pick up more items"));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::Send;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, &RecipientsDialog::deleteSelected);
    connect(more, &QPushButton::clicked, this, [this] {
        m_outcome = Outcome::More;
        accept();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(more);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

RecipientsDialog::Outcome RecipientsDialog::ask(const QList<Recipient> &rows)
{
    m_rows = rows;
    fill();
    m_outcome = Outcome::Cancel;
    exec();
    return m_outcome;
}

void RecipientsDialog::fill()
{
    m_list->clear();
    for (const Recipient &r : std::as_const(m_rows))
        m_list->addTopLevelItem(new QTreeWidgetItem({recipientKindName(r.kind), r.mailbox().left(kShownLength)}));
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
}

void RecipientsDialog::deleteSelected()
{
    for (int i = m_list->topLevelItemCount() - 1; i >= 0; --i) {
        if (m_list->topLevelItem(i)->isSelected())
            m_rows.removeAt(i);
    }
    fill();
}

} // namespace qv
