#pragma once

#include "navigation/RowMarks.h"

#include <QListView>

namespace qv {

class ViewListModel;

// The entry list: one column of names, marks kept by the
// marking rules of RowMarks, rows coloured yellow (yellow pages), purple
// (marked) and blue (current), marked entries dragged as ClientIDs.
class RecordListView : public QListView {
    Q_OBJECT
public:
    explicit RecordListView(QWidget *parent = nullptr);
    void setListModel(ViewListModel *model);

    const RowMarks &marks() const { return m_marks; }
    void markAll();
    void unmarkAll();
    // Drops the marks; the rows they named changed (a new filter, a new book).
    void resetMarks();

signals:
    void marksChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void changed();

    ViewListModel *m_model = nullptr;
    RowMarks m_marks;
    QPoint m_pressPos;
};

} // namespace qv
