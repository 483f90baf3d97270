#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace qv {

// "Text": a larger window on a memo field of the entry editor. What is typed
// here goes into the field at once.
class MemoEditWindow : public QDialog {
    Q_OBJECT
public:
    explicit MemoEditWindow(QWidget *parent = nullptr);
    // Opens modally, centred on the screen, on the memo's text and in its font.
    void edit(QPlainTextEdit *memo);
    QPlainTextEdit *text() const { return m_text; }

private:
    QPlainTextEdit *m_text;
};

} // namespace qv
