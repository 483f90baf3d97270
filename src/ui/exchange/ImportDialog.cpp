#include "exchange/ImportDialog.h"

#include "common/Error.h"
#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "common/Prompter.h"
#include "data/CategoryForest.h"
#include "editing/CategoryPicker.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/csv/ImportMapping.h"
#include "navigation/CategoryTreeModel.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

ImportDialog::ImportDialog(Settings &settings, CategoryTreeModel &tree, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_tree(tree)
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("Import Dialog"));
    const LayoutScale px = LayoutScale::ofApplication();

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Categorize to"), this));
    m_category = new QLineEdit(this);
    m_category->setObjectName(QStringLiteral("categoryEdit"));
    m_category->setReadOnly(true);
    top->addWidget(m_category, 1);
    auto *picker = new QToolButton(this);
    picker->setObjectName(QStringLiteral("categoryPickerButton"));
    picker->setText(QStringLiteral("..."));
    setHint(picker, QStringLiteral("Click to select a category"));
    connect(picker, &QToolButton::clicked, this, &ImportDialog::openCategoryPicker);
    m_picker = new CategoryPicker(this);
    connect(m_picker, &CategoryPicker::picked, this, [this](int, int index) { showCategory(index); });
    top->addWidget(picker);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);

    m_titles = new QCheckBox(QStringLiteral("First line holds column titles"), this);
    m_titles->setObjectName(QStringLiteral("titlesLine"));
    connect(m_titles, &QCheckBox::toggled, this, &ImportDialog::setTitlesLine);

    m_grid = new QTableWidget(0, 6, this);
    m_grid->setObjectName(QStringLiteral("mappingGrid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + px(6));
    m_grid->setWordWrap(false);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 1; c < 6; ++c)
        m_grid->setColumnWidth(c, px(36));
    auto *gridTitles = new QHBoxLayout;
    auto *fieldsTitle = new QLabel(QStringLiteral("QV Fields"), this);
    m_fieldsTitle = fieldsTitle;
    gridTitles->addWidget(fieldsTitle);
    gridTitles->addWidget(new QLabel(QStringLiteral("Fields to Import"), this), 1);
    auto *left = new QVBoxLayout;
    left->addLayout(gridTitles);
    left->addWidget(m_grid, 1);
    setHint(m_grid, QStringLiteral("Double-click to pick up a field"));
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &ImportDialog::pick);

    auto *middle = new QVBoxLayout;
    const auto button = [&](const QString &caption, const QString &hint, void (ImportDialog::*slot)()) {
        auto *b = new QPushButton(caption, this);
        setHint(b, hint);
        connect(b, &QPushButton::clicked, this, slot);
        middle->addWidget(b);
        return b;
    };
    middle->addStretch();
    button(QStringLiteral("<-"), QStringLiteral("pick up a field of the imported file to import to current QV field"), &ImportDialog::pick)
        ->setObjectName(QStringLiteral("pickButton"));
    button(QStringLiteral("x ->"), QStringLiteral("Clear imported fields of current QV field"), &ImportDialog::clearCurrent);
    button(QStringLiteral("xx ->"), QStringLiteral("Clear all imported fields"), &ImportDialog::clearAll);
    middle->addStretch();

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Fields of the imported file"), this));
    m_examples = new QListWidget(this);
    m_examples->setObjectName(QStringLiteral("sampleList"));
    setHint(m_examples, QStringLiteral("Double-click to pick up a field"));
    connect(m_examples, &QListWidget::itemDoubleClicked, this, &ImportDialog::pick);
    right->addWidget(m_examples, 1);
    auto *next = new QPushButton(QStringLiteral("&Next Example"), this);
    next->setObjectName(QStringLiteral("nextExample"));
    setHint(next, QStringLiteral("Show next example of the imported file"));
    connect(next, &QPushButton::clicked, this, &ImportDialog::nextExample);
    right->addWidget(next);

    auto *lower = new QHBoxLayout;
    lower->addLayout(left);
    lower->addLayout(middle);
    lower->addLayout(right, 2);

    m_mappingPart = new QWidget(this);
    auto *mapping = new QVBoxLayout(m_mappingPart);
    mapping->setContentsMargins(0, 0, 0, 0);
    mapping->addWidget(m_titles);
    mapping->addLayout(lower, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_mappingPart, 1);
    resize(px(600, 420));
}

void ImportDialog::fillGrid(const ImportFieldMapping &mapping)
{
    const QList<IniLine> &catalogue = m_settings.fieldsList;
    m_grid->setRowCount(int(std::min<qsizetype>(catalogue.size(), qsizetype(mapping.size()))));
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        m_grid->setItem(r, 0, new QTableWidgetItem(catalogue[r].value));
        for (int c = 1; c < 6; ++c) {
            const int column = mapping[size_t(r)][size_t(c - 1)];
            m_grid->setItem(r, c, new QTableWidgetItem(column > 0 ? QString::number(column) : QString()));
        }
    }
    // The field column is 100 pixels as designed, wider when a label needs it.
    const LayoutScale px = LayoutScale::ofApplication();
    m_grid->resizeColumnToContents(0);
    m_grid->setColumnWidth(0, std::max(px(100), m_grid->columnWidth(0)));
    m_fieldsTitle->setFixedWidth(m_grid->columnWidth(0));
    int width = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 6; ++c)
        width += m_grid->columnWidth(c);
    m_grid->setFixedWidth(width);
    m_grid->selectRow(0);
}

ImportFieldMapping ImportDialog::gridMapping() const
{
    ImportFieldMapping mapping{};
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 1; c < 6; ++c)
            mapping[size_t(r)][size_t(c - 1)] = m_grid->item(r, c)->text().toInt(); // 0 when empty or no number
    }
    return mapping;
}

void ImportDialog::showExample(const QStringList &example)
{
    m_examples->clear();
    m_examples->addItems(example);
    m_examples->setCurrentRow(0);
}

void ImportDialog::nextExample()
{
    try {
        showExample(m_engine->nextExample());
    } catch (const Error &e) {
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
}

void ImportDialog::pick()
{
    const QListWidgetItem *example = m_examples->currentItem();
    const int row = m_grid->currentRow();
    if (!example || row < 0)
        return;
    const int column = example->text().section(QLatin1Char(' '), 0, 0).trimmed().toInt();
    if (column < 1)
        return;
    MappedColumns columns{};
    for (int c = 1; c < 6; ++c)
        columns[size_t(c - 1)] = m_grid->item(row, c)->text().toInt();
    assignColumn(columns, column);
    for (int c = 1; c < 6; ++c)
        m_grid->item(row, c)->setText(columns[size_t(c - 1)] > 0 ? QString::number(columns[size_t(c - 1)]) : QString());
}

void ImportDialog::clearCurrent()
{
    const int row = m_grid->currentRow();
    for (int c = 1; row >= 0 && c < 6; ++c)
        m_grid->item(row, c)->setText(QString());
}

void ImportDialog::clearAll()
{
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 1; c < 6; ++c)
            m_grid->item(r, c)->setText(QString());
    }
}

void ImportDialog::openCategoryPicker()
{
    const QRect onScreen(m_category->mapToGlobal(QPoint(0, 0)), m_category->size());
    m_picker->setFont(m_category->font());
    m_picker->resize(m_category->width(), m_picker->height());
    m_picker->open(onScreen, 1, m_picked);
}

void ImportDialog::showCategory(int index)
{
    m_picked = index;
    const QString path = m_tree.categoryPaths().value(index);
    m_category->setText(path);
    m_category->setToolTip(m_category->fontMetrics().horizontalAdvance(path) > m_category->width() - 20 ? path : QString());
}

void ImportDialog::resetCategory()
{
    // Picker position k is the tree's pre-order index k when built from its first node.
    const CategoryForest &forest = m_tree.forest();
    m_picker->rebuild(forest.roots.empty() ? nullptr : forest.roots.front().get());
    m_picker->setPicked(0);
    m_picked = 0;
    m_category->clear();
    m_category->setToolTip(QString());
}

void ImportDialog::setTitlesLine(bool on)
{
    m_engine->setFirstLineHoldsTitles(on);
    if (on)
        fillGrid(m_engine->mappingFromTitles());
    nextExample();
}

bool ImportDialog::choose(ExchangeEngine &engine)
{
    m_engine = &engine;
    resetCategory();
    {
        const QSignalBlocker quiet(m_titles);
        m_titles->setChecked(engine.firstLineHoldsTitles());
    }
    // Recognised titles fill the grid; otherwise it shows the last confirmed assignment.
    fillGrid(engine.firstLineHoldsTitles() ? engine.mappingFromTitles() : m_settings.importFieldMapping);
    nextExample();
    if (parentWidget())
        move(parentWidget()->geometry().topLeft() + QPoint(40, 40));
    const bool accepted = exec() == QDialog::Accepted;
    if (accepted)
        m_settings.importFieldMapping = gridMapping();
    m_engine = nullptr;
    return accepted;
}

std::optional<int> ImportDialog::askCategory()
{
    resetCategory();
    const QSize full = size();
    m_mappingPart->hide();
    resize(full.width(), minimumSizeHint().height());
    if (parentWidget())
        move(parentWidget()->geometry().topLeft() + QPoint(40, 40));
    const bool accepted = exec() == QDialog::Accepted;
    m_mappingPart->show();
    resize(full);
    return accepted ? std::optional<int>(m_picked) : std::nullopt;
}

} // namespace qv
