#pragma once

#include "tools/Recipients.h"

#include <QDialog>

class QTreeWidget;

namespace qv {

// "Recipients": the gathered recipients, To before CC before BCC, before
// the mail program starts. Rows can be deleted; "&More" goes back to gather
// more.
class RecipientsDialog : public QDialog {
    Q_OBJECT
public:
    enum class Outcome { Send, Cancel, More };

    explicit RecipientsDialog(QWidget *parent = nullptr);

    // Shows the rows modally; how the user left the dialog.
    Outcome ask(const QList<Recipient> &rows);
    // The rows left, in dialog order.
    const QList<Recipient> &rows() const { return m_rows; }

private:
    void fill();
    void deleteSelected();

    QTreeWidget *m_list;
    QList<Recipient> m_rows;
    Outcome m_outcome = Outcome::Cancel;
};

} // namespace qv
