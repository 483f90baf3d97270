#pragma once

#include "navigation/InitialsGrid.h"

#include <QTableWidget>

namespace qv {

// The initials grid: the surname initials; cell (0, 0) leads back to the tree.
class InitialsGridView : public QTableWidget {
    Q_OBJECT
public:
    explicit InitialsGridView(QWidget *parent = nullptr);
    // FillInitialsGrid: as many columns as the pane's width holds.
    void fill(const QStringList &initials, int paneWidth);

signals:
    void initialSelected(const QString &initial); // empty for cell (0, 0)
    void backToTree(bool focusTree);
    void refreshRequested();
    void entered();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    InitialsGrid m_grid;
};

} // namespace qv
