#include "shell/DetailPane.h"

#include "common/Hint.h"
#include "data/TableView.h"

#include <QGridLayout>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qv {

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: navy;"));
    return label;
}

// The locale's short date format with a four-digit year.
QString fourDigitYearFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

struct Field {
    const char *caption;
    const char *field;
    bool organisation;
};

// One line of a box: one field across the width, or two side by side.
using Line = QList<Field>;

} // namespace

DetailPane::DetailPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("detailPane"));
    // Tight spacing: every field fits the pane at the window's first size.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    const QList<QPair<QString, QList<Line>>> boxes = {
        {QString(), {{{"Name", "Name", false}, {"Position", "Position", false}}}},
        {QStringLiteral("Work"),
         {{{"Org", "Company", true}},
          {{"Address", "CAddress", true}, {"Zip", "CZip", true}},
          {{"Phone", "CPhone", true}, {"Direct", "DPhone", false}},
          {{"Fax", "CFax", true}, {"E-Mail", "CEMail", true}},
          {{"Memo", "CMemo", true}}}},
        {QStringLiteral("Home"),
         {{{"Address", "Address", false}, {"Zip", "Zip", false}},
          {{"Phone", "Phone", false}, {"Fax", "Fax", false}},
          {{"Mobile", "Mobile", false}, {"BP", "Pager", false}},
          {{"E-Mail", "EMail", false}, {"Birthday", "Birthday", false}},
          {{"Memo", "Memo", false}}}},
    };
    for (const auto &[title, lines] : boxes) {
        auto *box = new QGroupBox(title, this);
        auto *grid = new QGridLayout(box);
        grid->setContentsMargins(6, 4, 6, 4);
        grid->setVerticalSpacing(2);
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(3, 2);
        for (int r = 0; r < lines.size(); ++r) {
            const Line &line = lines[r];
            for (int c = 0; c < line.size(); ++c) {
                const Field &f = line[c];
                const QString field = QString::fromLatin1(f.field);
                QWidget *editor = nullptr;
                if (field.endsWith(QLatin1String("Memo"))) {
                    auto *m = new QPlainTextEdit(box);
                    m->setReadOnly(true);
                    // Two lines at least; the memos take the height the other fields leave.
                    m->setMinimumHeight(2 * m->fontMetrics().lineSpacing() + 2 * m->frameWidth()
                                        + int(m->document()->documentMargin() * 2));
                    m->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
                    setHint(m, QStringLiteral("Double-click to view"));
                    m->viewport()->installEventFilter(this);
                    m_memos.insert(field, m);
                    grid->setRowStretch(r, 1);
                    editor = m;
                } else {
                    auto *l = new QLineEdit(box);
                    l->setReadOnly(true);
                    (f.organisation ? m_organisationLines : m_personLines).insert(field, l);
                    editor = l;
                }
                editor->setObjectName(QStringLiteral("detail") + field);
                grid->addWidget(caption(QString::fromLatin1(f.caption), box), r, 2 * c);
                // A field alone on its line spans the whole width.
                grid->addWidget(editor, r, 2 * c + 1, 1, line.size() == 1 ? 3 : 1);
            }
        }
        // Boxes with a memo grow with the pane; the name box keeps its height.
        layout->addWidget(box, box->findChild<QPlainTextEdit *>() ? 1 : 0);
        m_boxes << box;
    }
}

void DetailPane::refresh(const TableView &person, const TableView &organisation)
{
    for (auto it = m_personLines.cbegin(); it != m_personLines.cend(); ++it) {
        const Value v = person.value(it.key());
        const auto *date = std::get_if<QDate>(&v);
        it.value()->setText(date ? QLocale().toString(*date, fourDigitYearFormat()) : valueText(v));
        it.value()->setCursorPosition(0);
    }
    for (auto it = m_organisationLines.cbegin(); it != m_organisationLines.cend(); ++it) {
        it.value()->setText(organisation.text(it.key()));
        it.value()->setCursorPosition(0);
    }
    // The name's tool tip tells a white-page entry's surname from its given name.
    QLineEdit *name = m_personLines.value(QStringLiteral("Name"));
    const bool white = person.value(QStringLiteral("Yellow")) != Value(true);
    name->setToolTip(white && !name->text().isEmpty()
                         ? QStringLiteral("Surname: ") + person.text(QStringLiteral("SurName")) + QStringLiteral("  Givenname: ")
                             + person.text(QStringLiteral("GivenName"))
                         : QString());
    m_memos.value(QStringLiteral("Memo"))->setPlainText(person.text(QStringLiteral("Memo")));
    m_memos.value(QStringLiteral("CMemo"))->setPlainText(organisation.text(QStringLiteral("CMemo")));
}

bool DetailPane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const QPlainTextEdit *memo : std::as_const(m_memos)) {
            if (memo->viewport() == watched) {
                emit memoDoubleClicked(memo);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DetailPane::setBoxesEnabled(bool enabled)
{
    for (QGroupBox *box : std::as_const(m_boxes))
        box->setEnabled(enabled);
}

} // namespace qv
