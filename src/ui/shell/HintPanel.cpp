#include "shell/HintPanel.h"

namespace qv {

HintPanel::HintPanel(QWidget *parent)
    : QLabel(parent)
{
}

void HintPanel::showHint(const QString &hint)
{
    m_hint = hint;
    fitHint();
}

void HintPanel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fitHint(); // a wider window shows more of the hint
}

void HintPanel::fitHint()
{
    const QString shown = fontMetrics().elidedText(m_hint, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == m_hint ? QString() : m_hint);
}

} // namespace qv
