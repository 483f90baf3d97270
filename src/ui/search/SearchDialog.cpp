#include "search/SearchDialog.h"

#include "common/Hint.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

const int kListColumns = 3;

bool isEnter(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

const QList<int> SearchDialog::kAddressPositions = {5, 14, 15};
const QList<int> SearchDialog::kPhonePositions = {8, 9, 10, 11, 13, 17, 18};

SearchDialog::SearchDialog(Settings &settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(QStringLiteral("Search"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // the size follows the contents
    layout->addWidget(createUpperPart());
    m_quickSearch = createQuickSearch();
    layout->addWidget(m_quickSearch);
    setQuickSearchShown(m_settings.quickSearchOpen);
}

QWidget *SearchDialog::createUpperPart()
{
    auto *upper = new QWidget(this);
    m_content = new QLineEdit(upper);
    m_content->setObjectName(QStringLiteral("content"));

    auto *logic = new QGroupBox(QStringLiteral("Logic"), upper);
    m_and = new QRadioButton(QStringLiteral("AND"), logic);
    m_or = new QRadioButton(QStringLiteral("OR"), logic);
    m_and->setChecked(true);
    auto *logicLayout = new QHBoxLayout(logic);
    logicLayout->addWidget(m_and);
    logicLayout->addWidget(m_or);

    m_fields = new QListWidget(upper);
    m_fields->setObjectName(QStringLiteral("fieldList"));
    m_fields->setSelectionMode(QAbstractItemView::MultiSelection);
    m_fields->setFlow(QListView::TopToBottom); // column by column, as the positions count
    m_fields->setWrapping(true);
    m_fields->setUniformItemSizes(true);
    m_fields->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_fields, &QListWidget::itemSelectionChanged, this, &SearchDialog::fieldSelectionChanged);

    m_start = new QPushButton(QStringLiteral("&Start Search"), upper);
    setHint(m_start, QStringLiteral("Search with new conditions"));
    m_start->setDefault(true);
    connect(m_start, &QPushButton::clicked, this, [this] { finishWithContent(SearchChoice::Kind::Start); });
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), upper);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_continue = new QPushButton(QStringLiteral("Contin&ue to Search"), upper);
    setHint(m_continue, QStringLiteral("Continue to search with previous results"));
    connect(m_continue, &QPushButton::clicked, this, [this] { finishWithContent(SearchChoice::Kind::Continue); });
    m_quickToggle = new QToolButton(upper);
    m_quickToggle->setObjectName(QStringLiteral("quickSearchToggle"));
    m_quickToggle->setArrowType(Qt::DownArrow);
    setHint(m_quickToggle, QStringLiteral("Quick Searchs"));
    connect(m_quickToggle, &QToolButton::clicked, this, [this] { setQuickSearchShown(!m_quickSearch->isVisibleTo(this)); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    buttons->addWidget(m_continue);
    buttons->addStretch();
    buttons->addWidget(m_quickToggle);

    auto *layout = new QGridLayout(upper);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Content to search"), upper), 0, 0);
    layout->addWidget(m_content, 1, 0);
    layout->addWidget(logic, 0, 1, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Which field to search:"), upper), 2, 0, 1, 2);
    layout->addWidget(m_fields, 3, 0, 1, 2);
    layout->addLayout(buttons, 4, 0, 1, 2);
    return upper;
}

QToolButton *SearchDialog::startButton(const QString &name)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    button->setAccessibleName(QStringLiteral("Start"));
    return button;
}

QGroupBox *SearchDialog::createQuickSearch()
{
    auto *group = new QGroupBox(QStringLiteral("Quick Search"), this);
    m_month = new QComboBox(group);
    m_month->setObjectName(QStringLiteral("month"));
    const QLocale locale = QLocale::system();
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(locale.monthName(month, QLocale::ShortFormat));
    m_day = new QComboBox(group);
    m_day->setObjectName(QStringLiteral("day"));
    for (int day = 0; day <= 31; ++day)
        m_day->addItem(QString::number(day));
    // A scrolling list of twelve days, not 32 rows over the whole screen.
    m_day->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    m_day->setMaxVisibleItems(12);
    setHint(m_day, QStringLiteral("Select zero to find people born in the same month"));
    m_birthdayButton = startButton(QStringLiteral("birthdaySearchButton"));
    connect(m_birthdayButton, &QToolButton::clicked, this, &SearchDialog::finishBirthday);

    m_address = new QLineEdit(group);
    m_address->setObjectName(QStringLiteral("addressPortion"));
    setHint(m_address, QStringLiteral("Input a portion of the address"));
    m_addressButton = startButton(QStringLiteral("addressSearchButton"));
    connect(m_addressButton, &QToolButton::clicked, this, [this] { finishWithPositions(kAddressPositions, m_address->text()); });

    m_phone = new QLineEdit(group);
    m_phone->setObjectName(QStringLiteral("phonePortion"));
    setHint(m_phone, QStringLiteral("Input a portion of the phone number"));
    m_phoneButton = startButton(QStringLiteral("phoneSearchButton"));
    connect(m_phoneButton, &QToolButton::clicked, this, [this] { finishWithPositions(kPhonePositions, m_phone->text()); });

    // Enter in a quick search's box starts that search.
    for (QWidget *w : {static_cast<QWidget *>(m_month), static_cast<QWidget *>(m_day), static_cast<QWidget *>(m_address),
                       static_cast<QWidget *>(m_phone)})
        w->installEventFilter(this);

    auto *birthday = new QHBoxLayout;
    birthday->addWidget(new QLabel(QStringLiteral("Month"), group));
    birthday->addWidget(m_month);
    birthday->addWidget(new QLabel(QStringLiteral("Day"), group));
    birthday->addWidget(m_day);
    birthday->addStretch();
    auto *layout = new QGridLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("For people  born on the same day or in same month"), group), 0, 0, 1, 2);
    layout->addLayout(birthday, 1, 0);
    layout->addWidget(m_birthdayButton, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("To find people living or working in the same place"), group), 2, 0, 1, 2);
    layout->addWidget(m_address, 3, 0);
    layout->addWidget(m_addressButton, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("To find whose phone it is"), group), 4, 0, 1, 2);
    layout->addWidget(m_phone, 5, 0);
    layout->addWidget(m_phoneButton, 5, 1);
    return group;
}

bool SearchDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        QToolButton *button = watched == m_address ? m_addressButton
            : watched == m_phone                   ? m_phoneButton
                                                   : m_birthdayButton;
        if (button->isEnabled())
            button->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchDialog::fillFieldList()
{
    m_fields->clear();
    for (const IniLine &line : std::as_const(m_settings.searchableFieldsList))
        m_fields->addItem(line.key);
    // Three columns, filled column by column, each as wide as the widest label.
    const int rows = (m_fields->count() + kListColumns - 1) / kListColumns;
    const int rowHeight = m_fields->sizeHintForRow(0) > 0 ? m_fields->sizeHintForRow(0) : fontMetrics().height();
    const int columnWidth = std::max(m_fields->sizeHintForColumn(0), fontMetrics().averageCharWidth() * 12) + 8;
    m_fields->setGridSize(QSize(columnWidth, rowHeight));
    const int frame = 2 * m_fields->frameWidth();
    m_fields->setFixedSize(kListColumns * columnWidth + frame + 4, std::max(rows, 1) * rowHeight + frame + 4);
    // A shorter list than the quick searches count on: positions beyond its
    // end are left out, and a quick search with none of its fields is off.
    m_addressButton->setEnabled(m_fields->count() > kAddressPositions.first());
    m_phoneButton->setEnabled(m_fields->count() > kPhonePositions.first());
    fieldSelectionChanged();
}

void SearchDialog::fieldSelectionChanged()
{
    const qsizetype selected = m_fields->selectedItems().size();
    m_start->setEnabled(selected > 0);
    m_continue->setEnabled(selected == 1);
    if (selected > 1)
        m_or->setChecked(true);
}

void SearchDialog::setQuickSearchShown(bool shown)
{
    m_quickSearch->setVisible(shown);
    m_quickToggle->setArrowType(shown ? Qt::UpArrow : Qt::DownArrow);
    m_settings.quickSearchOpen = shown;
}

std::optional<SearchChoice> SearchDialog::ask(const QPoint &topLeft)
{
    fillFieldList();
    m_content->setFocus();
    m_content->selectAll();
    adjustSize();
    const QRect available = (parentWidget() ? parentWidget()->screen() : screen())->availableGeometry();
    QRect place(topLeft, frameGeometry().size());
    place.moveRight(std::min(place.right(), available.right()));
    place.moveBottom(std::min(place.bottom(), available.bottom()));
    place.moveLeft(std::max(place.left(), available.left()));
    place.moveTop(std::max(place.top(), available.top()));
    move(place.topLeft());
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_choice;
}

void SearchDialog::finish(SearchChoice::Kind kind, SearchLogic logic, const QString &content)
{
    m_choice = SearchChoice();
    m_choice.kind = kind;
    for (int i = 0; i < m_fields->count(); ++i) {
        if (m_fields->item(i)->isSelected())
            m_choice.labels << m_fields->item(i)->text();
    }
    m_choice.logic = logic;
    m_choice.content = content.trimmed();
    accept();
}

void SearchDialog::finishWithContent(SearchChoice::Kind kind)
{
    finish(kind, m_or->isChecked() ? SearchLogic::Or : SearchLogic::And, m_content->text());
}

void SearchDialog::finishBirthday()
{
    m_choice = SearchChoice();
    m_choice.kind = SearchChoice::Kind::Quick;
    m_choice.month = m_month->currentIndex() + 1;
    m_choice.day = m_day->currentIndex();
    accept();
}

void SearchDialog::finishWithPositions(const QList<int> &positions, const QString &text)
{
    for (int position : positions) {
        if (position < m_fields->count())
            m_fields->item(position)->setSelected(true);
    }
    finish(SearchChoice::Kind::Start, SearchLogic::Or, text);
}

} // namespace qv
