#include "search/OrganisationLookupPopup.h"

#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "data/TableView.h"
#include "navigation/ViewListModel.h"
#include "search/LookupBox.h"
#include "search/OrganisationLookup.h"
#include "search/SearchEngine.h"
#include "search/SortedFieldModel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace qv {

namespace {

// The organisation a picked candidate names exactly, so that of names that
// differ only in case the one picked is the one searched.
void chooseExactly(TableView &organisations, const QString &company)
{
    organisations.locate(QStringLiteral("Company"), company);
}

} // namespace

OrganisationLookupPopup::OrganisationLookupPopup(TableView &organisations, SortedFieldModel *candidates,
                                                 SearchEngine &engine, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_organisations(organisations)
    , m_engine(engine)
{
    setObjectName(QStringLiteral("OrganisationLookupPopup"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(240, 251, 255));
    setPalette(pal);

    m_box = new QComboBox(this);
    m_box->setObjectName(QStringLiteral("wideOrganisationLookup"));
    m_list = new ViewListModel(organisations, QStringLiteral("Company"), this);
    m_box->setModel(m_list);
    setHint(m_box, QStringLiteral("Search by org."));
    QCompleter *completer = makeLookupBox(m_box, candidates);
    connect(completer, qOverload<const QString &>(&QCompleter::highlighted), this,
            [this](const QString &company) { chooseExactly(m_organisations, company); });
    connect(m_box, &QComboBox::activated, this, [this](int index) { m_organisations.setRecNo(index + 1); });
    connect(m_box->lineEdit(), &QLineEdit::returnPressed, this, &OrganisationLookupPopup::search);

    auto *button = new QToolButton(this);
    button->setObjectName(QStringLiteral("wideOrganisationSearch"));
    button->setText(QStringLiteral("..."));
    connect(button, &QToolButton::clicked, this, &OrganisationLookupPopup::search);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_box, 1);
    layout->addWidget(button);
}

void OrganisationLookupPopup::openOver(const QComboBox *box)
{
    m_list->reload();
    setFont(box->font());
    m_box->lineEdit()->completer()->popup()->setFont(box->font());
    m_box->setCurrentIndex(-1);
    m_box->setEditText(box->currentText());
    const LayoutScale px = LayoutScale::ofFont(font());
    const QSize size(px(428), std::max(px(24), m_box->sizeHint().height()));
    setGeometry(QRect(box->mapToGlobal(QPoint(0, -2)), size));
    show();
    activateWindow();
    raise();
    m_box->setFocus();
}

void OrganisationLookupPopup::search()
{
    m_box->lineEdit()->completer()->popup()->hide();
    m_engine.findByOrg(organisationForLookup(m_organisations, m_box->currentText()));
    m_box->setCurrentIndex(-1);
    m_box->clearEditText();
    emit searched();
    close();
}

bool OrganisationLookupPopup::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate)
        close();
    return QWidget::event(event);
}

void OrganisationLookupPopup::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace qv
