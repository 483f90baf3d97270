#include "editing/EntryEditor.h"

#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "data/CategoryForest.h"
#include "data/RecordStore.h"
#include "editing/CategoryPicker.h"
#include "editing/EditModel.h"
#include "editing/MemoEditWindow.h"
#include "editing/NamePartsDialog.h"
#include "editing/NullableDateEdit.h"
#include "editing/OrganisationRenamePopup.h"
#include "navigation/CategoryTreeModel.h"
#include "navigation/ViewListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128)); // navy
    label->setPalette(p);
    return label;
}

QToolButton *ellipsisButton(const QString &hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    button->setFocusPolicy(Qt::NoFocus); // the keyboard has F4
    setHint(button, hint);
    return button;
}

Value valueOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().isValid() ? Value(v.toDate()) : Value();
    return v.toString();
}

} // namespace

EntryEditor::EntryEditor(EditModel &editModel, RecordStore &data, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , m_editModel(editModel)
    , m_data(data)
    , m_prompter(prompter)
    , m_session(editModel, data.personLookup, prompter)
    , m_rename(data.organisationLookup)
{
    setObjectName(QStringLiteral("entryEditor"));
    createControls();
    layOut();
    setTabOrder();
    m_picker = new CategoryPicker(this);
    connect(m_picker, &CategoryPicker::picked, this, [this](int slot, int index) {
        m_session.pickCategory(slot, index);
        showSlot(slot);
    });
    m_nameParts = new NamePartsDialog(this);
    m_renamePopup = new OrganisationRenamePopup(this);
    m_memoWindow = new MemoEditWindow(this);
    connect(qApp, &QApplication::focusChanged, this, &EntryEditor::focusMoved);
}

QWidget *EntryEditor::leavableFieldOf(QWidget *widget) const
{
    for (QWidget *field : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_organisation), static_cast<QWidget *>(m_position)}) {
        if (widget && (widget == field || field->isAncestorOf(widget)))
            return field;
    }
    return nullptr;
}

void EntryEditor::focusMoved(QWidget *, QWidget *now)
{
    // A field is left when another control of this window takes the focus;
    // not when a message, a pop-up or another program does.
    if (!now || now->window() != this || !m_session.isOpen())
        return;
    enterField(now);
}

void EntryEditor::enterField(QWidget *widget)
{
    QWidget *left = m_fieldWithFocus;
    m_fieldWithFocus = leavableFieldOf(widget);
    if (left == m_fieldWithFocus)
        return;
    if (left == m_name)
        leaveName();
    else if (left == m_organisation)
        leaveOrganisation();
    else if (left == m_position)
        leavePosition();
}

void EntryEditor::moveFocusTo(QWidget *widget)
{
    // The field left runs its step now: the window may not get the focus
    // back from the window system before the user goes on.
    enterField(widget);
    if (m_session.isOpen())
        widget->setFocus();
}

EntryEditor::~EntryEditor()
{
    // The focus moves while the children are destroyed: not a field left.
    disconnect(qApp, nullptr, this, nullptr);
}

QLineEdit *EntryEditor::boundLine(TableView &view, const QString &field, QWidget *parent)
{
    auto *line = new QLineEdit(parent);
    line->setObjectName(field);
    m_bindings.push_back({line, &view, field});
    connect(line, &QLineEdit::textEdited, this, [this, &view, field](const QString &text) { write(view, field, text); });
    return line;
}

QPlainTextEdit *EntryEditor::boundMemo(TableView &view, const QString &field, const QString &hint, QWidget *parent)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(field);
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->viewport()->installEventFilter(this); // a double-click opens the larger window
    setHint(memo, hint);
    m_bindings.push_back({memo, &view, field});
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, &view, field] {
        if (!m_loading)
            write(view, field, memo->toPlainText());
    });
    return memo;
}

void EntryEditor::createControls()
{
    TableView &person = m_data.personList;
    m_name = boundLine(person, QStringLiteral("Name"), this);
    connect(m_name, &QLineEdit::textEdited, this, [this] { m_session.nameEdited(); });
    m_name->installEventFilter(this);
    m_nameButton = ellipsisButton(QStringLiteral("Define surname and givenname manually"), this);
    m_nameButton->setObjectName(QStringLiteral("nameButton"));
    connect(m_nameButton, &QToolButton::clicked, this, &EntryEditor::openNameParts);

    m_position = new QComboBox(this);
    m_position->setObjectName(QStringLiteral("Position"));
    m_position->setEditable(true);
    m_position->setInsertPolicy(QComboBox::NoInsert);
    m_position->setCompleter(nullptr); // completion is our own
    m_positionModel = new QStringListModel(this);
    m_position->setModel(m_positionModel);
    m_position->installEventFilter(this);
    connect(m_position->lineEdit(), &QLineEdit::textEdited, this, &EntryEditor::completePosition);
    connect(m_position, &QComboBox::textActivated, this, [this](const QString &text) { write(m_data.personList, QStringLiteral("Position"), text); });

    m_work = new QGroupBox(QStringLiteral("Work"), this);
    m_organisation = new QComboBox(m_work);
    m_organisation->setObjectName(QStringLiteral("Company"));
    m_organisation->setEditable(true);
    m_organisation->setInsertPolicy(QComboBox::NoInsert);
    m_organisation->setMaxVisibleItems(11);
    m_organisationNames = new ViewListModel(m_data.organisationLookup, QStringLiteral("Company"), this);
    m_organisation->setModel(m_organisationNames);
    m_organisation->completer()->setCompletionMode(QCompleter::PopupCompletion); // never changes what is typed
    m_organisation->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    setHint(m_organisation, QStringLiteral("Type the name for new org;\nor drop down the list to select an existing one;\n"
                                           "or double-click to edit the name"));
    m_organisation->installEventFilter(this);
    m_organisation->lineEdit()->installEventFilter(this); // its double-click renames

    m_home = new QGroupBox(QStringLiteral("Home"), this);
    m_workMemo = boundMemo(m_data.organisationList, QStringLiteral("CMemo"), QStringLiteral("Double-click to view and edit"), m_work);
    m_homeMemo = boundMemo(person, QStringLiteral("Memo"), QStringLiteral("Double-click to view and Edit"), m_home);
    m_birthday = new NullableDateEdit(m_home);
    m_birthday->setObjectName(QStringLiteral("Birthday"));
    m_bindings.push_back({m_birthday, &person, QStringLiteral("Birthday")});
    connect(m_birthday, &NullableDateEdit::dateEdited, this, [this](const QDate &date) {
        write(m_data.personList, QStringLiteral("Birthday"), date);
    });

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    setHint(m_ok, QStringLiteral("Confirm the changes"));
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    setHint(m_cancel, QStringLiteral("Cancel the changes"));
    m_addNext = new QPushButton(QStringLiteral("&Add Next"), this);
    m_addNext->setObjectName(QStringLiteral("addNext"));
    QSizePolicy keepPlace = m_addNext->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_addNext->setSizePolicy(keepPlace);
    connect(m_ok, &QPushButton::clicked, this, [this] { finish(false); });
    connect(m_addNext, &QPushButton::clicked, this, [this] { finish(true); });
    connect(m_cancel, &QPushButton::clicked, this, &EntryEditor::reject);
}

QWidget *EntryEditor::createSlots()
{
    m_categories = new QGroupBox(QStringLiteral("Category"), this);
    auto *row = new QHBoxLayout(m_categories);
    row->setSpacing(LayoutScale::ofApplication()(2));
    for (int k = 0; k < 4; ++k) {
        auto *slot = new QLineEdit(m_categories);
        slot->setObjectName(QStringLiteral("Group%1").arg(k + 1));
        slot->setReadOnly(true); // a category is picked, never typed; Delete empties the slot
        slot->installEventFilter(this);
        auto *button = ellipsisButton(QStringLiteral("Click to select a category"), m_categories);
        connect(button, &QToolButton::clicked, this, [this, k] { openPicker(k + 1); });
        auto *pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(slot, 1);
        pair->addWidget(button);
        row->addLayout(pair, 1);
        m_slots[size_t(k)] = slot;
        m_slotButtons[size_t(k)] = button;
    }
    return m_categories;
}

void EntryEditor::layOut()
{
    const LayoutScale px = LayoutScale::ofApplication();
    TableView &person = m_data.personList;
    TableView &organisation = m_data.organisationList;

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(caption(QStringLiteral("Name"), this));
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_nameButton);
    nameRow->addSpacing(px(8));
    nameRow->addWidget(caption(QStringLiteral("Position"), this));
    m_designedWidths.push_back({m_position, 128});
    nameRow->addWidget(m_position);

    // Work: a label column, then each line's own fields.
    auto *work = new QGridLayout(m_work);
    work->setVerticalSpacing(px(3));
    const auto workLine = [&](int row, const QString &label, QWidget *field, const QString &label2, QWidget *field2, int width2,
                              bool secondStretches) {
        work->addWidget(caption(label, m_work), row, 0);
        auto *line = new QHBoxLayout;
        line->addWidget(field, secondStretches ? 0 : 1);
        line->addWidget(caption(label2, m_work));
        line->addWidget(field2, secondStretches ? 1 : 0);
        m_designedWidths.push_back({secondStretches ? field : field2, width2});
        work->addLayout(line, row, 1);
    };
    work->addWidget(caption(QStringLiteral("Org"), m_work), 0, 0);
    work->addWidget(m_organisation, 0, 1);
    workLine(1, QStringLiteral("Address"), boundLine(organisation, QStringLiteral("CAddress"), m_work), QStringLiteral("Zip"),
             boundLine(organisation, QStringLiteral("CZip"), m_work), 55, false);
    workLine(2, QStringLiteral("Phone"), boundLine(organisation, QStringLiteral("CPhone"), m_work), QStringLiteral("Direct"),
             boundLine(person, QStringLiteral("DPhone"), m_work), 97, false);
    workLine(3, QStringLiteral("Fax"), boundLine(organisation, QStringLiteral("CFax"), m_work), QStringLiteral("E-Mail"),
             boundLine(organisation, QStringLiteral("CEMail"), m_work), 136, true);
    work->addWidget(caption(QStringLiteral("Memo"), m_work), 4, 0, Qt::AlignTop);
    work->addWidget(m_workMemo, 4, 1);

    // Home: two columns of labelled fields, the right-hand ones 133 pixels wide.
    auto *home = new QGridLayout(m_home);
    home->setVerticalSpacing(px(3));
    home->setColumnStretch(1, 1);
    const QList<QList<const char *>> homeLines = {{"Address", "Address", "Zip", "Zip"}, {"Phone", "Phone", "Fax", "Fax"},
                                                 {"Mobile", "Mobile", "BP", "Pager"}, {"E-Mail", "EMail", "Birthday", ""}};
    for (int row = 0; row < homeLines.size(); ++row) {
        const QList<const char *> &l = homeLines[row];
        home->addWidget(caption(QString::fromLatin1(l[0]), m_home), row, 0);
        home->addWidget(boundLine(person, QString::fromLatin1(l[1]), m_home), row, 1);
        home->addWidget(caption(QString::fromLatin1(l[2]), m_home), row, 2);
        QWidget *right = *l[3] ? static_cast<QWidget *>(boundLine(person, QString::fromLatin1(l[3]), m_home)) : m_birthday;
        m_designedWidths.push_back({right, 133});
        home->addWidget(right, row, 3);
    }
    home->addWidget(caption(QStringLiteral("Memo"), m_home), 4, 0, Qt::AlignTop);
    home->addWidget(m_homeMemo, 4, 1, 1, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(134);
    for (QPushButton *b : {m_ok, m_cancel, m_addNext}) {
        buttons->addWidget(b);
        buttons->addSpacing(px(22));
    }
    buttons->addSpacing(px(24));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(px(4));
    layout->addLayout(nameRow);
    layout->addWidget(m_work);
    layout->addWidget(m_home);
    layout->addWidget(createSlots());
    layout->addLayout(buttons);
    applyDesignedSizes();
    resize(px(410, 451));
}

void EntryEditor::applyDesignedSizes()
{
    // The window takes the entry viewer's font: the designed sizes grow with it.
    const LayoutScale px = LayoutScale::ofFont(font());
    for (const DesignedWidth &d : m_designedWidths)
        d.field->setFixedWidth(px(d.width));
    for (QPlainTextEdit *memo : {m_workMemo, m_homeMemo})
        memo->setFixedHeight(px(70));
    for (QPushButton *b : {m_ok, m_cancel, m_addNext})
        b->setMinimumSize(px(62, 25));
    setMinimumWidth(px(388));
}

void EntryEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        applyDesignedSizes();
    QDialog::changeEvent(event);
}

void EntryEditor::setTabOrder()
{
    QList<QWidget *> order = {m_name, m_position, m_organisation};
    for (const char *field : {"CAddress", "CZip", "CPhone", "DPhone", "CFax", "CEMail", "CMemo", "Address", "Zip", "Phone", "Fax",
                              "Mobile", "Pager", "EMail", "Birthday", "Memo"})
        order << findChild<QWidget *>(QString::fromLatin1(field));
    order[order.indexOf(m_birthday)] = m_birthday->lineEdit();
    for (QLineEdit *slot : m_slots)
        order << slot;
    order << m_ok << m_cancel << m_addNext;
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void EntryEditor::write(TableView &view, const QString &field, const QVariant &value)
{
    // A book without organisations has no row for the work fields to write into.
    if (m_loading || (view.isEmpty() && view.state() == TableView::State::Browse))
        return;
    if (view.state() == TableView::State::Browse)
        view.edit();
    view.setValue(field, valueOf(value));
}

void EntryEditor::load(const TableView &view)
{
    m_loading = true;
    for (const Binding &b : m_bindings) {
        if (b.view != &view)
            continue;
        const Value v = view.value(b.field);
        if (auto *line = qobject_cast<QLineEdit *>(b.control))
            line->setText(valueText(v));
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(b.control))
            memo->setPlainText(valueText(v));
        else if (auto *date = qobject_cast<NullableDateEdit *>(b.control))
            date->setDate(std::holds_alternative<QDate>(v) ? std::get<QDate>(v) : QDate());
    }
    if (&view == &m_data.personList)
        m_position->setEditText(view.text(QStringLiteral("Position")));
    m_loading = false;
}

void EntryEditor::run(const QString &caption, const QRect &over)
{
    setWindowTitle(caption);
    m_session.begin();
    const CategoryForest &forest = m_editModel.tree().forest();
    m_picker->rebuild(forest.roots.empty() ? nullptr : forest.roots.front().get());
    m_picker->forgetSlot();
    m_addNext->setVisible(m_session.isAdding());
    load(m_data.personList);
    load(m_data.organisationList);
    m_organisationNames->reload();
    m_organisation->setCurrentIndex(-1);
    m_organisation->setEditText(m_session.organisationName());
    m_completionSuppressed = false;
    place(over);
    for (int k = 1; k <= 4; ++k)
        showSlot(k);
    m_fieldWithFocus = m_name;
    m_name->setFocus();
    exec();
}

void EntryEditor::place(const QRect &over)
{
    ensurePolished();
    const QRect screen = (parentWidget() ? parentWidget()->screen() : this->screen())->availableGeometry();
    const QSize wanted(std::max(over.width(), minimumSizeHint().width()), std::max(height(), sizeHint().height()));
    QRect frame(over.topLeft(), wanted.boundedTo(screen.size()));
    frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - frame.height()));
    setGeometry(frame);
}

bool EntryEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_organisation->lineEdit()) {
            renameOrganisation();
            return true;
        }
        for (QPlainTextEdit *memo : {m_workMemo, m_homeMemo}) {
            if (watched == memo->viewport()) {
                m_memoWindow->edit(memo);
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_position)
            m_completionSuppressed = key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace;
        if (watched == m_name && key->key() == Qt::Key_F4) {
            openNameParts();
            return true;
        }
        for (int k = 0; k < 4; ++k) {
            if (watched != m_slots[size_t(k)])
                continue;
            if (key->key() == Qt::Key_F4) {
                openPicker(k + 1);
                return true;
            }
            if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) {
                m_session.pickCategory(k + 1, 0);
                showSlot(k + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EntryEditor::keyPressEvent(QKeyEvent *event)
{
    // Enter moves on to the next field instead of closing the window.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & ~Qt::KeypadModifier)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EntryEditor::leaveName()
{
    QString text = m_name->text();
    if (!m_session.leaveName(text)) {
        closeIfEnded();
        return;
    }
    m_name->setText(text);
}

void EntryEditor::leaveOrganisation()
{
    const QString text = m_organisation->currentText();
    m_session.linkOrganisation(text);
    m_organisationNames->reload(); // a new organisation is listed at once
    m_organisation->setCurrentIndex(-1);
    m_organisation->setEditText(text);
    load(m_data.organisationList);
}

void EntryEditor::leavePosition()
{
    const QString text = m_position->currentText().trimmed();
    m_position->setEditText(text);
    write(m_data.personList, QStringLiteral("Position"), text);
    m_positions.add(text);
    m_positionModel->setStringList(m_positions.list());
    m_position->setEditText(text); // the list's reset leaves the text alone only when told
}

void EntryEditor::completePosition(const QString &typed)
{
    QLineEdit *line = m_position->lineEdit();
    const QString completion = m_completionSuppressed ? QString() : m_positions.completionOf(typed);
    if (!completion.isEmpty() && completion != typed) {
        line->setText(completion);
        line->setSelection(int(typed.size()), int(completion.size() - typed.size()));
        m_completionSuppressed = true;
    }
    write(m_data.personList, QStringLiteral("Position"), line->text());
}

void EntryEditor::openNameParts()
{
    if (m_session.isYellowPage())
        return;
    // The button is the Name field's, and takes no focus of its own: the
    // field typed into before it was clicked is left here.
    moveFocusTo(m_name);
    if (m_nameParts->edit(m_data.personList, m_name))
        m_session.namePartsConfirmed();
    else
        m_session.namePartsCancelled();
    moveFocusTo(m_position); // leaves the Name field
    if (m_session.isOpen())
        activateWindow(); // back from a window without a frame, which not every window system hands back
}

void EntryEditor::renameOrganisation()
{
    if (!OrganisationRename::mayRename(m_editModel, m_prompter))
        return;
    const QPoint bottomLeft(m_organisation->mapToGlobal(QPoint(0, 0)).x(), m_work->mapToGlobal(QPoint(0, 0)).y() + 8);
    const std::optional<QString> typed = m_renamePopup->ask(m_data.organisationList.text(QStringLiteral("Company")), bottomLeft,
                                                            m_organisation->font(), m_organisation->width());
    activateWindow();
    if (!typed)
        return;
    const QString name = m_rename.rename(m_editModel, *typed);
    if (!name.isEmpty())
        m_organisation->setEditText(name);
}

void EntryEditor::openPicker(int slot)
{
    QLineEdit *field = m_slots[size_t(slot - 1)];
    QToolButton *button = m_slotButtons[size_t(slot - 1)];
    const QPoint topLeft = field->mapToGlobal(QPoint(0, 0));
    const QRect onScreen(topLeft, QSize(button->mapToGlobal(QPoint(button->width(), 0)).x() - topLeft.x(), field->height()));
    const LayoutScale px = LayoutScale::ofFont(field->font());
    m_picker->setFont(field->font());
    m_picker->resize(std::max(onScreen.width() + px(18), px(140)), m_picker->height());
    m_picker->open(onScreen, slot, m_session.slotIndex(slot));
}

void EntryEditor::showSlot(int slot)
{
    QLineEdit *field = m_slots[size_t(slot - 1)];
    const QString path = m_session.slotPath(slot);
    field->setText(path);
    field->setCursorPosition(0);
    // A path wider than the slot is also its hint.
    field->setToolTip(field->fontMetrics().horizontalAdvance(path) + 20 > field->width() ? path : QString());
}

void EntryEditor::finish(bool addNext)
{
    if (!m_session.isOpen())
        return;
    // "&OK" by its key leaves the focus where it is: what was typed still counts.
    enterField(nullptr);
    if (m_session.isOpen()) {
        QString text = m_name->text();
        m_session.finish(addNext, text, m_organisation->currentText());
    }
    closeIfEnded();
}

void EntryEditor::closeIfEnded()
{
    if (!m_session.isOpen() && isVisible())
        QDialog::accept();
}

void EntryEditor::reject()
{
    if (m_session.isOpen())
        m_session.cancel();
    QDialog::reject();
}

} // namespace qv
