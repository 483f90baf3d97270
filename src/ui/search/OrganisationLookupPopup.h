#pragma once

#include <QWidget>

class QComboBox;

namespace qv {

class SearchEngine;
class SortedFieldModel;
class TableView;
class ViewListModel;

// The wider organisation box that the "Org" button opens over the
// organisation lookup box: a frameless pale-blue strip holding a lookup box
// and a button. Enter or the button lists the people of the organisation the
// box names and closes the strip; Esc, or another window becoming active,
// closes it. It does not block the main window.
class OrganisationLookupPopup : public QWidget {
    Q_OBJECT
public:
    OrganisationLookupPopup(TableView &organisations, SortedFieldModel *candidates, SearchEngine &engine,
                            QWidget *parent = nullptr);

    // Opens in the box's place, 2 pixels higher, with its font and its text.
    void openOver(const QComboBox *box);

signals:
    // The entry list shows the people of an organisation.
    void searched();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void search();

    TableView &m_organisations;
    SearchEngine &m_engine;
    ViewListModel *m_list = nullptr;
    QComboBox *m_box = nullptr;
};

} // namespace qv
