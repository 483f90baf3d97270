#pragma once

#include <QObject>

class QAbstractButton;
class QComboBox;

namespace qv {

class OrganisationLookupPopup;
class RecordListModel;
class RecordStore;
class SearchEngine;
class SortedFieldModel;

// The two lookup boxes of the navigation area. The name box lists every
// white-page entry when it receives the focus; confirming it (Enter or its
// button) lists the white-page entries whose name begins with its text.
// Confirming the organisation box lists the people of the organisation it
// names. Both narrow their candidates as the user types, keep no text once
// left or confirmed, and make the search the list's navigation source. The
// "Org" button opens a wider organisation box.
class QuickLookup : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QComboBox *nameBox;
        QAbstractButton *nameButton;
        QComboBox *organisationBox;
        QAbstractButton *organisationButton;
        QAbstractButton *widerBoxButton;
    };

    QuickLookup(const Controls &controls, RecordStore &data, SearchEngine &engine, RecordListModel &recordList,
                QObject *parent = nullptr);

signals:
    // The entry list shows other entries.
    void listChanged();
    // The surname-initial grid is to take the category tree's place.
    void initialsGridWanted();
    // F5 in the name box: the initials are to be scanned again.
    void initialsRefreshRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showAllWhitePages();
    void confirmName();
    void confirmOrganisation();
    void openWiderBox();

    Controls m_controls;
    RecordStore &m_data;
    SearchEngine &m_engine;
    RecordListModel &m_recordList;
    SortedFieldModel *m_names = nullptr;
    SortedFieldModel *m_companies = nullptr;
    OrganisationLookupPopup *m_widerBox = nullptr;
};

} // namespace qv
