#pragma once

#include "data/archive/PackageCipher.h"

#include <QWidget>

namespace qv {

// Status line panel 2: a closed padlock when the book has a password, an open
// one when not. Its tool tip says which cipher protects the book, and when
// the next save changes it; a password set, changed or removed since the
// last save is said to wait for the save.
class LockIndicator : public QWidget {
    Q_OBJECT
public:
    explicit LockIndicator(QWidget *parent = nullptr);
    void setLocked(bool locked, archive::PackageCipher inUse, archive::PackageCipher nextSave, bool pendingSave);
    bool locked() const { return m_locked; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_locked = false;
};

} // namespace qv
