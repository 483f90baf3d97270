#pragma once

#include "tools/Recipients.h"
#include "tools/RecipientsDialog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QPlainTextEdit;
class QWidget;

namespace qv {

class Prompter;
class RecordStore;

// The commands that hand a piece of the current entry to another program
// (dial, e-mail, web links), the memo viewer and the manual. They work on
// the main window's current entry, its marked rows and the focused field.
class CommunicationTools : public QObject {
    Q_OBJECT
public:
    // markedRows gives the entry list's marks (row positions in list order).
    CommunicationTools(QWidget *window, RecordStore &data, Prompter &prompter,
                       std::function<std::vector<int>()> markedRows, QString programDir);

    void dial();
    void addRecipients(RecipientKind kind);
    void launchEmail();
    void goUrl();
    void showMemo(const QPlainTextEdit *memo);
    void openManual();
    void openHomePage();

    const RecipientList &recipients() const { return m_recipients; }

private:
    QWidget *activeControl() const;

    QWidget *m_window;
    RecordStore &m_data;
    Prompter &m_prompter;
    std::function<std::vector<int>()> m_markedRows;
    QString m_programDir;
    RecipientList m_recipients;
    RecipientsDialog m_recipientsDialog;
};

} // namespace qv
