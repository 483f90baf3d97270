#pragma once

#include <QWidget>

#include <QMap>
#include <QPlainTextEdit>

class QGroupBox;
class QLineEdit;

namespace qv {

class TableView;

// The right column: read-only fields of the current person and of its
// organisation, in three boxes ("Name", "Work", "Home").
class DetailPane : public QWidget {
    Q_OBJECT
public:
    explicit DetailPane(QWidget *parent = nullptr);
    void refresh(const TableView &person, const TableView &organisation);
    void setBoxesEnabled(bool enabled);

signals:
    void memoDoubleClicked(const QPlainTextEdit *memo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *line(const QString &field);
    QPlainTextEdit *memo(const QString &field);

    QList<QGroupBox *> m_boxes;
    QMap<QString, QLineEdit *> m_personLines;
    QMap<QString, QLineEdit *> m_organisationLines;
    QMap<QString, QPlainTextEdit *> m_memos;
};

} // namespace qv
