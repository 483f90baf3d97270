#pragma once

#include <QLabel>

namespace qv {

// The status line's hint panel: the long form of the current hint in the
// room the other panels leave. A hint too long for that room is cut with an
// ellipsis and shown whole in the panel's tool tip.
class HintPanel : public QLabel {
    Q_OBJECT
public:
    explicit HintPanel(QWidget *parent = nullptr);
    void showHint(const QString &hint);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHint();

    QString m_hint;
};

} // namespace qv
