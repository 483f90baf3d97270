#include "search/QuickLookup.h"

#include "data/RecordStore.h"
#include "navigation/RecordListModel.h"
#include "navigation/ViewListModel.h"
#include "search/LookupBox.h"
#include "search/OrganisationLookup.h"
#include "search/OrganisationLookupPopup.h"
#include "search/SearchEngine.h"
#include "search/SortedFieldModel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace qv {

namespace {

const QString kWhitePages = QStringLiteral("not (Yellow=true)");

// Focus that comes back from a drop-down list or from another window is not
// the user entering or leaving the box.
bool movedByUser(QEvent *event)
{
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

void clearBox(QComboBox *box)
{
    box->setCurrentIndex(-1);
    box->clearEditText();
}

// A box is cleared after each lookup. A candidate picked with Enter is
// written into the box once the Enter has been handled, so it is cleared
// again after that.
void clearAfterLookup(QComboBox *box)
{
    clearBox(box);
    QTimer::singleShot(0, box, [box] { clearBox(box); });
}

// The box's own list after its rows changed, without a row chosen for it.
void reloadList(QComboBox *box)
{
    if (auto *list = qobject_cast<ViewListModel *>(box->model()))
        list->reload();
    clearBox(box);
}

// The candidates go once the box is confirmed; the key that confirmed it
// must not reach the box again through them.
QString confirmedText(QComboBox *box)
{
    box->lineEdit()->completer()->popup()->hide();
    return box->currentText();
}

} // namespace

QuickLookup::QuickLookup(const Controls &controls, RecordStore &data, SearchEngine &engine, RecordListModel &recordList,
                         QObject *parent)
    : QObject(parent)
    , m_controls(controls)
    , m_data(data)
    , m_engine(engine)
    , m_recordList(recordList)
{
    m_names = new SortedFieldModel(data.personNameLookup, QStringLiteral("Name"), this);
    makeLookupBox(controls.nameBox, m_names);
    m_companies = new SortedFieldModel(data.organisationLookup, QStringLiteral("Company"), this);
    QCompleter *companies = makeLookupBox(controls.organisationBox, m_companies);
    // The organisation the box selects is the one picked, also among names
    // that differ only in case.
    connect(companies, qOverload<const QString &>(&QCompleter::highlighted), this,
            [this](const QString &company) { m_data.organisationLookup.locate(QStringLiteral("Company"), company); });
    connect(controls.organisationBox, &QComboBox::activated, this,
            [this](int index) { m_data.organisationLookup.setRecNo(index + 1); });

    connect(controls.nameBox->lineEdit(), &QLineEdit::returnPressed, this, &QuickLookup::confirmName);
    connect(controls.nameButton, &QAbstractButton::clicked, this, &QuickLookup::confirmName);
    connect(controls.organisationBox->lineEdit(), &QLineEdit::returnPressed, this, &QuickLookup::confirmOrganisation);
    connect(controls.organisationButton, &QAbstractButton::clicked, this, &QuickLookup::confirmOrganisation);
    connect(controls.widerBoxButton, &QAbstractButton::clicked, this, &QuickLookup::openWiderBox);
    for (QComboBox *box : {controls.nameBox, controls.organisationBox})
        box->installEventFilter(this);
}

bool QuickLookup::eventFilter(QObject *watched, QEvent *event)
{
    const bool nameBox = watched == m_controls.nameBox;
    if (event->type() == QEvent::FocusIn && movedByUser(event)) {
        auto *box = static_cast<QComboBox *>(watched);
        box->lineEdit()->completer()->popup()->setFont(box->font()); // the candidates in the box's font
        if (nameBox)
            showAllWhitePages();
        else
            m_companies->refresh();
    } else if (event->type() == QEvent::FocusOut && movedByUser(event)) {
        clearBox(static_cast<QComboBox *>(watched));
    } else if (event->type() == QEvent::KeyPress && nameBox && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
        emit initialsRefreshRequested();
        showAllWhitePages();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void QuickLookup::showAllWhitePages()
{
    m_data.personNameLookup.setFilter(kWhitePages);
    reloadList(m_controls.nameBox);
    m_names->refresh();
    m_recordList.showInitial(QString(), false);
    m_recordList.setSource(NavigationSource::Search);
    emit initialsGridWanted();
    emit listChanged();
}

void QuickLookup::confirmName()
{
    const QString text = confirmedText(m_controls.nameBox);
    if (text.isEmpty()) {
        showAllWhitePages();
    } else {
        m_engine.findByNamePrefix(text);
        emit listChanged();
    }
    clearAfterLookup(m_controls.nameBox);
    m_recordList.setSource(NavigationSource::Search);
}

void QuickLookup::confirmOrganisation()
{
    m_engine.findByOrg(organisationForLookup(m_data.organisationLookup, confirmedText(m_controls.organisationBox)));
    clearAfterLookup(m_controls.organisationBox);
    m_recordList.setSource(NavigationSource::Search);
    emit listChanged();
}

void QuickLookup::openWiderBox()
{
    if (!m_widerBox) {
        m_widerBox = new OrganisationLookupPopup(m_data.organisationLookup, m_companies, m_engine,
                                                 m_controls.organisationBox->window());
        connect(m_widerBox, &OrganisationLookupPopup::searched, this, &QuickLookup::listChanged);
    }
    m_companies->refresh();
    m_widerBox->openOver(m_controls.organisationBox);
}

} // namespace qv
