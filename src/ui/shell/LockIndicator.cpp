#include "shell/LockIndicator.h"

#include "common/LayoutScale.h"

#include <QPainter>

namespace qv {

LockIndicator::LockIndicator(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(LayoutScale::ofApplication()(23, 18));
}

namespace {

QString cipherPhrase(archive::PackageCipher cipher)
{
    return cipher == archive::PackageCipher::Aes256 ? QStringLiteral("AES-256")
                                                    : QStringLiteral("the traditional ZIP cipher, for old archivers");
}

} // namespace

void LockIndicator::setLocked(bool locked, archive::PackageCipher inUse, archive::PackageCipher nextSave, bool pendingSave)
{
    m_locked = locked;
    QString tip = QStringLiteral("The address book has no password");
    if (pendingSave) {
        tip = QStringLiteral("The password takes effect when the book is saved.");
    } else if (locked) {
        tip = QStringLiteral("The address book has a password and is encrypted with %1").arg(cipherPhrase(inUse));
        if (nextSave != inUse)
            tip += QStringLiteral("; the next save encrypts it with %1").arg(cipherPhrase(nextSave));
    }
    setToolTip(tip);
    update();
}

void LockIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn at the designed size, grown with the font like the panel.
    const qreal scale = LayoutScale::ofApplication().factor();
    p.scale(scale, scale);
    const QColor metal = m_locked ? QColor(150, 110, 20) : QColor(110, 110, 110);
    p.setPen(QPen(metal, 2));
    p.setBrush(Qt::NoBrush);
    // The shackle: closed into the body, or swung open to the right.
    const QRectF shackle = m_locked ? QRectF(4, 1, 9, 10) : QRectF(9, 0, 9, 10);
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(shackle.left(), 8));
    if (m_locked)
        p.drawLine(QPointF(shackle.right(), shackle.center().y()), QPointF(shackle.right(), 8));
    p.setPen(Qt::NoPen);
    p.setBrush(m_locked ? QColor(212, 160, 23) : QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(2, 8, 13, 9), 2, 2);
}

} // namespace qv
