#include "printing/FieldSample.h"

#include "printing/ReportPainter.h"

#include <QMouseEvent>

namespace qv {

FieldSample::FieldSample(PrintField field, int line, QWidget *parent)
    : QLabel(parent)
    , m_field(field)
    , m_line(line)
{
    setObjectName(QStringLiteral("sample") + printFieldCode(field));
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFieldFont(m_font);
}

void FieldSample::setFieldFont(const FieldFont &font)
{
    m_font = font;
    setFont(reportFont(ReportFont{font.name, font.size, false, font.color}));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, reportColor(font.color));
    setPalette(p);
}

void FieldSample::setValue(const QString &value)
{
    setText(value.isEmpty() ? QLatin1Char('(') + printFieldCode(m_field) + QLatin1Char(')') : value.simplified());
}

void FieldSample::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(m_field);
    QLabel::mousePressEvent(event);
}

} // namespace qv
