#include "editing/NullableDateEdit.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

namespace qv {

QString NullableDateEdit::displayFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

std::optional<QDate> NullableDateEdit::parse(const QString &text, const QLocale &locale, int currentYear)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    QDate date = locale.toDate(trimmed, displayFormat(locale));
    if (date.isValid() && date.year() >= 1000)
        return date;
    // Qt reads "yy" as 19yy; move it into the window that ends 20 years from now.
    date = locale.toDate(trimmed, locale.dateFormat(QLocale::ShortFormat));
    if (!date.isValid())
        return std::nullopt;
    while (date.year() < currentYear - 79)
        date = date.addYears(100);
    return date;
}

NullableDateEdit::NullableDateEdit(QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_button(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_edit->setPlaceholderText(displayFormat(locale()));
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textEdited, this, &NullableDateEdit::textEdited);
    connect(m_button, &QToolButton::clicked, this, &NullableDateEdit::showCalendar);
}

void NullableDateEdit::setDate(const QDate &date)
{
    m_date = date.isValid() ? date : QDate();
    m_edit->setText(m_date.isValid() ? locale().toString(m_date, displayFormat(locale())) : QString());
    markInvalid(false);
}

void NullableDateEdit::textEdited(const QString &text)
{
    const std::optional<QDate> date = parse(text, locale(), QDate::currentDate().year());
    markInvalid(!date);
    if (!date || *date == m_date)
        return;
    m_date = *date;
    emit dateEdited(m_date);
}

void NullableDateEdit::markInvalid(bool invalid)
{
    QPalette p = palette();
    if (invalid)
        p.setColor(QPalette::Base, QColor(255, 220, 220));
    m_edit->setPalette(p);
}

bool NullableDateEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        setDate(m_date); // a text that is no date gives way to the last date
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && key->modifiers() & Qt::AltModifier)) {
            showCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NullableDateEdit::showCalendar()
{
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setWindowFlags(Qt::Popup);
        m_calendar->setFirstDayOfWeek(Qt::Sunday);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate &date) {
            m_calendar->hide();
            setDate(date);
            emit dateEdited(date);
        });
        connect(m_calendar, &QCalendarWidget::clicked, m_calendar, &QCalendarWidget::activated);
    }
    m_calendar->setSelectedDate(m_date.isValid() ? m_date : QDate::currentDate());
    m_calendar->adjustSize();
    QPoint at = mapToGlobal(QPoint(width() - m_calendar->width(), height()));
    const QRect screen = this->screen()->availableGeometry();
    at.setX(std::clamp(at.x(), screen.left(), screen.right() - m_calendar->width()));
    if (at.y() + m_calendar->height() > screen.bottom())
        at.setY(mapToGlobal(QPoint(0, 0)).y() - m_calendar->height());
    m_calendar->move(at);
    m_calendar->show();
    m_calendar->setFocus();
}

} // namespace qv
