#pragma once

#include <QDialog>

class QPushButton;

namespace qv {

// The About box; at start it serves as the splash, without its OK button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
    void setOkVisible(bool visible);

private:
    QPushButton *m_ok;
};

} // namespace qv
