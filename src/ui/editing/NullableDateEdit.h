#pragma once

#include <QDate>
#include <QWidget>

#include <optional>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace qv {

// A date field that may be empty, as a birthday often is: the date is typed
// in the locale's short format (a two-digit year is read as the nearest fit
// in the 100 years before next 20), or picked from a calendar whose weeks
// start on Sunday; it is shown with a four-digit year. Clearing the text
// clears the date. A text that is no date is marked and, when the field is
// left, replaced by the last date.
class NullableDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit NullableDateEdit(QWidget *parent = nullptr);

    // Null when empty.
    QDate date() const { return m_date; }
    void setDate(const QDate &date);
    QLineEdit *lineEdit() const { return m_edit; }
    void showCalendar();

    // The locale's short date format with a four-digit year.
    static QString displayFormat(const QLocale &locale);
    // The date of a typed text; a null date for an empty text; nothing when it is no date.
    static std::optional<QDate> parse(const QString &text, const QLocale &locale, int currentYear);

signals:
    // The user changed the date (a null date: cleared).
    void dateEdited(const QDate &date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textEdited(const QString &text);
    void markInvalid(bool invalid);

    QLineEdit *m_edit;
    QToolButton *m_button;
    QCalendarWidget *m_calendar = nullptr;
    QDate m_date;
};

} // namespace qv
