#pragma once

#include "printing/PrintSettings.h"

#include <QLabel>

namespace qv {

// A field of the print dialog's samples: the current entry's value in the
// field's template font, which a click can change.
class FieldSample : public QLabel {
    Q_OBJECT
public:
    FieldSample(PrintField field, int line, QWidget *parent);

    PrintField field() const { return m_field; }
    int line() const { return m_line; }
    const FieldFont &fieldFont() const { return m_font; }
    void setFieldFont(const FieldFont &font);
    // An empty value shows the field's name, so that there is something to click.
    void setValue(const QString &value);

signals:
    void clicked(qv::PrintField field);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    PrintField m_field;
    int m_line;
    FieldFont m_font;
};

} // namespace qv
