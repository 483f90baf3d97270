#include "exchange/FieldSelectionDialog.h"

#include "common/ScreenPlacement.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

namespace {

const QString kSelectAll = QStringLiteral("Select &All");
const QString kUnselectAll = QStringLiteral("Unselect &All");

} // namespace

FieldSelectionDialog::FieldSelectionDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fieldSelectionDialog"));
    setWindowTitle(QStringLiteral("QV Fields Selection"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please select fields:"), this));
    auto *box = new QGroupBox(this);
    m_grid = new QGridLayout(box);
    layout->addWidget(box);
    m_titles = new QCheckBox(QStringLiteral("Write column titles"), this);
    m_titles->setObjectName(QStringLiteral("writeTitles"));
    m_byteOrderMark = new QCheckBox(QStringLiteral("Write a byte-order mark"), this);
    m_byteOrderMark->setObjectName(QStringLiteral("writeByteOrderMark"));
    m_byteOrderMark->setToolTip(QStringLiteral("For spreadsheet programs that read UTF-8 only with it"));
    layout->addWidget(m_titles);
    layout->addWidget(m_byteOrderMark);
    auto *buttons = new QDialogButtonBox(this);
    m_selectAll = buttons->addButton(kSelectAll, QDialogButtonBox::ActionRole);
    m_selectAll->setObjectName(QStringLiteral("selectAll"));
    connect(m_selectAll, &QPushButton::clicked, this, &FieldSelectionDialog::toggleAll);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FieldSelectionDialog::load(const QList<IniLine> &catalogue, const QList<IniLine> &ticked)
{
    m_ticked = ticked;
    qDeleteAll(m_items);
    m_items.clear();
    // Two columns, filled top to bottom.
    const int rows = int(catalogue.size() + 1) / 2;
    for (int i = 0; i < catalogue.size(); ++i) {
        auto *item = new QCheckBox(catalogue[i].value, this);
        item->setChecked(i < ticked.size() && ticked[i].value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);
        m_grid->addWidget(item, i % rows, i / rows);
        m_items << item;
    }
}

void FieldSelectionDialog::toggleAll()
{
    if (m_items.isEmpty())
        return;
    const bool select = m_selectAll->text() == kSelectAll;
    for (QCheckBox *item : std::as_const(m_items))
        item->setChecked(select);
    m_selectAll->setText(select ? kUnselectAll : kSelectAll);
}

std::optional<ExportFieldChooser::Choice> FieldSelectionDialog::choose(const QList<IniLine> &catalogue, const QList<IniLine> &ticked,
                                                                       bool byteOrderMark)
{
    load(catalogue, ticked);
    m_byteOrderMark->setChecked(byteOrderMark);
    adjustSize();
    move(centredWithin(sizeHint(), screen()->availableGeometry()).topLeft());
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    // Paired with the ticked lines by position, as the two sections stand side by side.
    for (int i = 0; i < m_items.size() && i < m_ticked.size(); ++i)
        m_ticked[i].value = m_items[i]->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    return Choice{m_ticked, m_titles->isChecked(), m_byteOrderMark->isChecked()};
}

} // namespace qv
