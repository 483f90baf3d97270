// The entry editor and its dialogs driven as a user would, with key clicks
// into real widgets, over a small book held in memory.
#include "EditingBook.h"
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "editing/CategoryPicker.h"
#include "editing/EntryEditor.h"
#include "editing/NamePartsDialog.h"
#include "editing/NullableDateEdit.h"
#include "editing/OrganisationCompareDialog.h"
#include "editing/OrganisationRenamePopup.h"

#include <QApplication>
#include <QPointer>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace qv;
using test::person;

namespace {

QWidget *focused()
{
    return QApplication::focusWidget();
}

void key(int k, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(focused(), Qt::Key(k), modifiers);
}

void type(const QString &text)
{
    QTest::keyClicks(focused(), text);
}

// Runs the steps once the modal window they drive is shown; a window the
// steps left open (a failed check returns early) is closed, so the test ends.
void whenShown(std::function<void()> steps)
{
    QTimer::singleShot(0, qApp, [steps = std::move(steps)] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal && QTest::qWaitFor([&] { return QApplication::activeWindow() == modal; }))
            steps();
        if (auto *dialog = qobject_cast<QDialog *>(modal.data()); dialog && dialog->isVisible())
            dialog->reject();
    });
}

struct Fixture {
    test::EditingBook book;
    test::ScriptedPrompter prompter;
    EntryEditor editor{book.edit, book.data, prompter};

    explicit Fixture(const std::vector<std::vector<Value>> &persons = {}, const std::vector<std::vector<Value>> &organisations = {})
        : book(persons, organisations)
    {
    }

    template <typename T = QWidget>
    T *field(const char *name) { return editor.findChild<T *>(QString::fromLatin1(name)); }

    void add(std::function<void()> steps)
    {
        book.edit.addPerson();
        whenShown(std::move(steps));
        editor.run("Add", QRect(100, 50, 480, 600));
    }
    void edit(int recNo, std::function<void()> steps)
    {
        book.edit.editPerson(recNo);
        whenShown(std::move(steps));
        editor.run("Edit", QRect(100, 50, 480, 600));
    }
    QString stored(const QString &fieldName, int clientId = 2001)
    {
        TableView &lookup = book.data.personLookup;
        return lookup.locate("ClientID", qint32(clientId)) ? lookup.text(fieldName) : QString("<none>");
    }
};

const QStringList kParts = {"Name", "SurName", "GivenName", "MidName", "Yellow", "OrgID", "Position", "Phone"};

} // namespace

class TestEntryEditor : public QObject {
    Q_OBJECT
private slots:
    void typedEntries_data();
    void typedEntries();
    void enterMovesOn();
    void cutNameIsToldAndShown();
    void tabOrder();
    void escapeCancelsEverything();
    void birthday_data();
    void birthday();
    void pickerUnderSlotFour();
    void pickerPlacement_data();
    void pickerPlacement();
    void namePartsDialog_data();
    void namePartsDialog();
    void namePartsLeaveTheFieldBefore_data();
    void namePartsLeaveTheFieldBefore();
    void tabThroughOrganisationKeepsTheLink();
    void buttonByItsKeyLeavesTheField_data();
    void buttonByItsKeyLeavesTheField();
    void renameOrganisation();
    void renameDefaultOrganisationRefused();
    void positionCompletion();
    void duplicateReviewCloses();
    void compareDialogAnswers_data();
    void compareDialogAnswers();
    void fitsTheScreen();
    void fontTakenWithoutCutText_data();
    void fontTakenWithoutCutText();
};

void TestEntryEditor::typedEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("organisation");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("stored"); // kParts of the new entry, "<none>" when nothing was added
    QTest::addColumn<int>("organisations");
    QTest::newRow("Mary Ann Lee") << "Mary Ann Lee" << " Engineer " << "" << "555 1234"
                                  << "Mary Ann Lee|Lee|Mary|Ann|False|0|Engineer|555 1234" << 2;
    QTest::newRow("a new organisation, no name: its yellow page") << "" << "" << "Acme Trading" << ""
                                                                  << "Acme Trading|Acme Trading|||True|2002||" << 3;
    QTest::newRow("an organisation in other letters") << "jo  smith" << "" << "acme" << "" << "jo smith|smith|jo||False|2001||" << 2;
    QTest::newRow("nothing typed: nothing added") << "" << "" << "" << "" << "<none>" << 2;
}

void TestEntryEditor::typedEntries()
{
    QFETCH(QString, name);
    QFETCH(QString, position);
    QFETCH(QString, organisation);
    QFETCH(QString, phone);
    QFETCH(QString, stored);
    QFETCH(int, organisations);
    Fixture f;
    f.add([&] {
        QCOMPARE(focused(), f.field("Name"));
        type(name);
        key(Qt::Key_Tab);
        type(position);
        key(Qt::Key_Tab);
        QCOMPARE(focused(), f.field("Company"));
        type(organisation);
        key(Qt::Key_Tab);
        f.field<QLineEdit>("Phone")->setFocus();
        type(phone);
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QVERIFY(!f.editor.isVisible());
    QStringList values;
    for (const QString &part : kParts)
        values << f.stored(part);
    QCOMPARE(stored == "<none>" ? f.stored("Name") : values.join('|'), stored);
    QCOMPARE(f.book.data.organisationLookup.recordCount(), organisations);
}

void TestEntryEditor::enterMovesOn()
{
    Fixture f;
    f.add([&] {
        type("J. Smith");
        key(Qt::Key_Return); // moves on instead of pressing OK
        QCOMPARE(focused(), f.field("Position"));
        QCOMPARE(f.field<QLineEdit>("Name")->text(), QString("J. Smith"));
        QVERIFY(f.editor.isVisible());
        key(Qt::Key_Return);
        QCOMPARE(focused(), f.field("Company"));
        type("Globex");
        // OK by its key leaves the focus where it is: the organisation typed still counts.
        f.field<QPushButton>("ok")->click();
    });
    QCOMPARE(f.book.edit.editState(), EditModel::Closed);
    QCOMPARE(f.stored("Name"), QString("J. Smith"));
    QCOMPARE(f.stored("OrgID"), QString("2002"));
}

void TestEntryEditor::cutNameIsToldAndShown()
{
    const QString kept = "Maximilian Alexander Friedrich Wilhelm Carl Anton";
    Fixture f;
    f.prompter.expectMessage("The name was too long for its fields and was cut:\nMidname keeps \"Alexander\"\nName keeps \"" + kept + "\"",
                             Prompter::Icon::Warning, Prompter::Button::Ok, Prompter::Button::Ok);
    f.add([&] {
        type(kept + " Hohenzollern");
        key(Qt::Key_Tab);
        QVERIFY(f.prompter.verifyAllAnswered());
        QCOMPARE(f.field<QLineEdit>("Name")->text(), kept);
        f.field<QPushButton>("ok")->click();
    });
    QCOMPARE(f.book.edit.editState(), EditModel::Closed);
    QCOMPARE(QStringList({f.stored("Name"), f.stored("GivenName"), f.stored("MidName"), f.stored("SurName")}),
             QStringList({kept, "Maximilian", "Alexander", "Hohenzollern"}));
}

void TestEntryEditor::tabOrder()
{
    Fixture f;
    QStringList order;
    f.add([&] {
        for (int i = 0; i < 26; ++i) {
            QWidget *w = focused();
            while (w && w->objectName().isEmpty())
                w = w->parentWidget();
            order << (w ? w->objectName() : QString("?"));
            key(Qt::Key_Tab);
        }
        QTest::mouseClick(f.field<QPushButton>("cancel"), Qt::LeftButton);
    });
    // Whether buttons take the focus by Tab is the platform's choice; after the last slot they come in this order.
    QCOMPARE(order.mid(0, 23).join(' '), QString("Name Position Company CAddress CZip CPhone DPhone CFax CEMail CMemo Address Zip Phone "
                                                 "Fax Mobile Pager EMail Birthday Memo Group1 Group2 Group3 Group4"));
    QStringList buttons;
    for (QWidget *w = f.field("Group4")->nextInFocusChain(); buttons.size() < 3; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            buttons << w->objectName();
    }
    QCOMPARE(buttons.join(' '), QString("ok cancel addNext"));
}

void TestEntryEditor::escapeCancelsEverything()
{
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"SurName", QString("Li")}, {"OrgID", qint32(2001)},
                       {"Group1", qint32(1001)}, {"Group2", qint32(1000)}, {"Group3", qint32(1000)}, {"Group4", qint32(1000)}})});
    const QStringList persons = test::tableDump(f.book.data.personList);
    const QStringList organisations = test::tableDump(f.book.data.organisationList);
    f.edit(1, [&] {
        type("Tim Lee");
        key(Qt::Key_Tab);
        f.field("CPhone")->setFocus();
        type("999"); // the organisation's own phone
        f.field("Company")->setFocus();
        f.field<QComboBox>("Company")->setEditText("Brand New Org");
        f.field("Memo")->setFocus(); // links the new organisation
        type("memo text");
        f.field("Group2")->setFocus();
        key(Qt::Key_Escape);
    });
    QCOMPARE(f.book.edit.editState(), EditModel::Cancelled);
    QCOMPARE(test::tableDump(f.book.data.personList), persons);
    QCOMPARE(test::tableDump(f.book.data.organisationList), organisations);
}

void TestEntryEditor::birthday_data()
{
    QTest::addColumn<QString>("stored"); // before, yyyy-mm-dd or empty
    QTest::addColumn<QString>("typed");  // "<clear>" selects all and deletes
    QTest::addColumn<QString>("after");
    const QLocale c(QLocale::C);
    QTest::newRow("typed in the short format") << "" << QLocale().toString(QDate(1980, 3, 14), QLocale::ShortFormat) << "1980-03-14";
    QTest::newRow("cleared back to empty") << "1975-03-02" << "<clear>" << "";
    QTest::newRow("no date: the last date stays") << "1975-03-02" << "x" << "1975-03-02";
}

void TestEntryEditor::birthday()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")},
                       {"Birthday", stored.isEmpty() ? Value() : Value(QDate::fromString(stored, Qt::ISODate))}})});
    f.edit(1, [&] {
        auto *date = f.field<NullableDateEdit>("Birthday");
        date->setFocus();
        if (typed.startsWith("<clear>")) {
            key(Qt::Key_A, Qt::ControlModifier);
            key(Qt::Key_Delete);
            typed = typed.mid(7);
        }
        key(Qt::Key_End);
        type(typed);
        key(Qt::Key_Tab);
        // Left, the field shows the date kept, with a four-digit year.
        const QDate kept = QDate::fromString(after, Qt::ISODate);
        QCOMPARE(date->lineEdit()->text(), kept.isValid() ? QLocale().toString(kept, NullableDateEdit::displayFormat(QLocale())) : QString());
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    f.book.data.personList.first(); // commits the edited row
    QCOMPARE(f.stored("Birthday"), after);
}

void TestEntryEditor::pickerUnderSlotFour()
{
    Fixture f;
    f.add([&] {
        type("Jo Smith");
        f.field("Group4")->setFocus();
        key(Qt::Key_F4);
        CategoryPicker *picker = f.editor.picker();
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->openedSlot(), 4);
        QCOMPARE(picker->tree()->topLevelItem(0)->text(0), QString("------"));
        QCOMPARE(picker->tree()->topLevelItemCount(), 3); // ------, A, B
        // Right-aligned with the slot, just below it.
        auto *slot = f.field<QLineEdit>("Group4");
        // Just below the slot (the offscreen platform gives pop-ups a frame of a few pixels).
        const int below = slot->mapToGlobal(QPoint(0, slot->height())).y();
        QVERIFY(picker->frameGeometry().top() >= below && picker->frameGeometry().top() <= below + 4);
        QVERIFY(picker->frameGeometry().right() >= slot->mapToGlobal(QPoint(slot->width(), 0)).x());
        QTest::keyClick(picker->tree(), Qt::Key_Down);
        QTest::keyClick(picker->tree(), Qt::Key_Down);
        QTest::keyClick(picker->tree(), Qt::Key_Return);
        QVERIFY(!picker->isVisible());
        QCOMPARE(slot->text(), QString("B/"));
        // The same category in another slot leaves that slot empty; Delete empties one.
        f.field("Group1")->setFocus();
        key(Qt::Key_F4);
        QTest::keyClick(picker->tree(), Qt::Key_Down);
        QTest::keyClick(picker->tree(), Qt::Key_Down);
        QTest::keyClick(picker->tree(), Qt::Key_Return);
        QCOMPARE(f.field<QLineEdit>("Group1")->text(), QString(""));
        f.field("Group2")->setFocus();
        key(Qt::Key_F4);
        QTest::keyClick(picker->tree(), Qt::Key_Down);
        QTest::keyClick(picker->tree(), Qt::Key_Return);
        QCOMPARE(f.field<QLineEdit>("Group2")->text(), QString("A/"));
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QStringList groups;
    for (const char *g : {"Group1", "Group2", "Group3", "Group4"})
        groups << f.stored(g);
    QCOMPARE(groups.join(','), QString("1000,1001,1000,1002"));
}

void TestEntryEditor::pickerPlacement_data()
{
    QTest::addColumn<QRect>("slot");
    QTest::addColumn<QPoint>("at");
    const QSize popup(200, 150);
    Q_UNUSED(popup);
    QTest::newRow("below, right-aligned") << QRect(400, 300, 100, 20) << QPoint(300, 320);
    QTest::newRow("at the left edge: kept inside") << QRect(0, 300, 100, 20) << QPoint(0, 320);
    QTest::newRow("at the bottom: above the slot") << QRect(400, 700, 100, 20) << QPoint(300, 550);
    QTest::newRow("wider than room at the right") << QRect(900, 300, 200, 20) << QPoint(824, 320);
}

void TestEntryEditor::pickerPlacement()
{
    QFETCH(QRect, slot);
    QFETCH(QPoint, at);
    QCOMPARE(CategoryPicker::placement(slot, QSize(200, 150), QRect(0, 0, 1024, 768)), at);
}

void TestEntryEditor::namePartsDialog_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("name");
    QTest::newRow("confirmed: the name composed from the parts") << true << "Ann Lee";
    QTest::newRow("cancelled: the parts as they were") << false << "Typed Name";
}

void TestEntryEditor::namePartsDialog()
{
    QFETCH(bool, confirm);
    QFETCH(QString, name);
    Fixture f;
    f.add([&] {
        type("Typed Name");
        key(Qt::Key_Tab); // the name step splits it
        f.field("Name")->setFocus();
        whenShown([&] {
            NamePartsDialog *parts = f.editor.namePartsDialog();
            QCOMPARE(focused(), parts->givenNameField());
            QCOMPARE(parts->givenNameField()->text(), QString("Typed"));
            key(Qt::Key_A, Qt::ControlModifier);
            type("Ann");
            key(Qt::Key_Tab);
            key(Qt::Key_A, Qt::ControlModifier);
            type("Lee");
            key(confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
        key(Qt::Key_F4);
        QCOMPARE(f.field<QLineEdit>("Name")->text(), name);
        QTRY_COMPARE(focused(), f.field("Position"));
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QCOMPARE(f.stored("Name"), name);
    QCOMPARE(f.stored("GivenName"), confirm ? QString("Ann") : QString("Typed"));
}

void TestEntryEditor::namePartsLeaveTheFieldBefore_data()
{
    QTest::addColumn<QString>("field");     // the field typed into before the Name button is clicked
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("stored");    // kParts of the new entry
    QTest::addColumn<int>("organisations");
    QTest::newRow("a new organisation, the parts confirmed") << "Company" << "Globex" << true
                                                            << "Ann Lee|Lee|Ann||False|2002||" << 3;
    QTest::newRow("a new organisation, the parts cancelled: its yellow page") << "Company" << "Globex" << false
                                                                             << "Globex|Globex|||True|2002||" << 3;
    QTest::newRow("a position, the parts confirmed") << "Position" << " Engineer " << true << "Ann Lee|Lee|Ann||False|0|Engineer|" << 2;
}

void TestEntryEditor::namePartsLeaveTheFieldBefore()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, confirm);
    QFETCH(QString, stored);
    QFETCH(int, organisations);
    Fixture f;
    f.add([&] {
        for (int tabs = field == "Company" ? 2 : 1; tabs > 0; --tabs)
            key(Qt::Key_Tab);
        QCOMPARE(focused(), f.field(qPrintable(field)));
        type(typed);
        // The button takes no focus: the field typed into is left only as the dialog opens.
        whenShown([&] {
            QCOMPARE(focused(), f.editor.namePartsDialog()->givenNameField());
            type("Ann");
            key(Qt::Key_Tab);
            type("Lee");
            key(confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
        QTest::mouseClick(f.field<QToolButton>("nameButton"), Qt::LeftButton);
        QTRY_COMPARE(focused(), f.field("Position"));
        QCOMPARE(f.field<QComboBox>("Company")->currentText(), field == "Company" ? typed : QString("Private"));
        QCOMPARE(f.field<QComboBox>("Position")->count(), field == "Position" ? 1 : 0); // a position left joins the list
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QCOMPARE(f.book.edit.editState(), EditModel::Closed);
    QStringList values;
    for (const QString &part : kParts)
        values << f.stored(part);
    QCOMPARE(values.join('|'), stored);
    QCOMPARE(f.book.data.organisationLookup.recordCount(), organisations);
}

void TestEntryEditor::tabThroughOrganisationKeepsTheLink()
{
    // Two organisations of one name; the person works for the second.
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"OrgID", qint32(2002)}})},
              {test::organisation(2002, "ACME")});
    f.edit(1, [&] {
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        QCOMPARE(focused(), f.field("Company"));
        QCOMPARE(f.field<QComboBox>("Company")->currentText(), QString("ACME"));
        key(Qt::Key_Tab);
        QCOMPARE(focused(), f.field("CAddress"));
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QCOMPARE(f.book.edit.editState(), EditModel::Closed);
    f.book.data.personList.first(); // commits the edited row
    QCOMPARE(f.stored("OrgID"), QString("2002"));
    QCOMPARE(f.book.data.organisationLookup.recordCount(), 3);
}

void TestEntryEditor::buttonByItsKeyLeavesTheField_data()
{
    QTest::addColumn<QString>("field"); // where the focus stays while the button is pressed
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("stored"); // kParts of the new entry
    QTest::newRow("OK in Org") << "Company" << "Globex" << "ok" << "Jo Smith|Smith|Jo||False|2002||";
    QTest::newRow("Add Next in Org") << "Company" << "Globex" << "addNext" << "Jo Smith|Smith|Jo||False|2002||";
    QTest::newRow("OK in Position") << "Position" << " Engineer " << "ok" << "Jo Smith|Smith|Jo||False|0|Engineer|";
    QTest::newRow("Add Next in Position") << "Position" << " Engineer " << "addNext" << "Jo Smith|Smith|Jo||False|0|Engineer|";
}

void TestEntryEditor::buttonByItsKeyLeavesTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, stored);
    Fixture f;
    f.add([&] {
        type("Jo Smith");
        for (int tabs = field == "Company" ? 2 : 1; tabs > 0; --tabs)
            key(Qt::Key_Tab);
        type(typed);
        f.field<QPushButton>(qPrintable(button))->click(); // as its key does: the focus stays
    });
    QCOMPARE(int(f.book.edit.editState()), button == "ok" ? int(EditModel::Closed) : int(EditModel::AddNext));
    QStringList values;
    for (const QString &part : kParts)
        values << f.stored(part);
    QCOMPARE(values.join('|'), stored);
    QCOMPARE(f.field<QComboBox>("Position")->count(), field == "Position" ? 1 : 0);
}

void TestEntryEditor::renameOrganisation()
{
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"OrgID", qint32(2001)}})});
    f.edit(1, [&] {
        auto *org = f.field<QComboBox>("Company");
        QCOMPARE(org->currentText(), QString("ACME"));
        org->setFocus();
        whenShown([&] {
            QCOMPARE(focused(), f.editor.renamePopup()->nameField());
            QCOMPARE(f.editor.renamePopup()->nameField()->text(), QString("ACME"));
            type("  Acme Limited  ");
            key(Qt::Key_Return);
        });
        QTest::mouseDClick(org->lineEdit(), Qt::LeftButton);
        QCOMPARE(org->currentText(), QString("Acme Limited"));
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    f.book.data.personList.first();
    QCOMPARE(f.stored("OrgID"), QString("2001"));
    QVERIFY(f.book.data.organisationLookup.locate("CoID", qint32(2001)));
    QCOMPARE(f.book.data.organisationLookup.text("Company"), QString("Acme Limited"));
    QCOMPARE(f.book.data.organisationLookup.recordCount(), 2);
}

void TestEntryEditor::renameDefaultOrganisationRefused()
{
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}, {"OrgID", qint32(0)}})});
    f.prompter.expectMessage("Private is default org name for those you don't know the work place. It is unnecessary to edit.",
                             Prompter::Icon::Information, Prompter::Button::Ok, Prompter::Button::Ok);
    f.edit(1, [&] {
        auto *org = f.field<QComboBox>("Company");
        org->setFocus();
        QTest::mouseDClick(org->lineEdit(), Qt::LeftButton);
        QVERIFY(!f.editor.renamePopup()->isVisible());
        key(Qt::Key_Escape);
    });
    QVERIFY(f.prompter.verifyAllAnswered());
}

void TestEntryEditor::positionCompletion()
{
    Fixture f;
    f.add([&] {
        type("Ann Lee");
        key(Qt::Key_Tab);
        type("Engineer");
        key(Qt::Key_Tab);
        QTest::mouseClick(f.field<QPushButton>("addNext"), Qt::LeftButton);
    });
    QCOMPARE(f.book.edit.editState(), EditModel::AddNext);
    f.add([&] {
        type("Bo Wu");
        key(Qt::Key_Tab);
        type("En");
        auto *line = f.field<QComboBox>("Position")->lineEdit();
        QCOMPARE(line->text(), QString("Engineer"));
        QCOMPARE(line->selectedText(), QString("gineer"));
        key(Qt::Key_Backspace); // removes the completed tail
        key(Qt::Key_Backspace);
        QCOMPARE(line->text(), QString("E")); // no completion after a deletion
        type("ngland");
        QCOMPARE(line->text(), QString("England"));
        QTest::mouseClick(f.field<QPushButton>("ok"), Qt::LeftButton);
    });
    QCOMPARE(f.stored("Position", 2002), QString("England"));
    QCOMPARE(f.field<QComboBox>("Position")->count(), 2);
}

void TestEntryEditor::duplicateReviewCloses()
{
    Fixture f({person({{"ClientID", qint32(2001)}, {"Name", QString("Tom Li")}})});
    f.prompter.expectMessage("Entries with the same name in the address book. Would you review them?", Prompter::Icon::Information,
                             Prompter::Button::Yes | Prompter::Button::No, Prompter::Button::Yes);
    f.add([&] {
        type("Tom Li");
        key(Qt::Key_Tab);
    });
    QVERIFY(f.prompter.verifyAllAnswered());
    QVERIFY(!f.editor.isVisible());
    QCOMPARE(f.book.edit.editState(), EditModel::ReviewDuplicates);
    QCOMPARE(f.book.data.personLookup.recordCount(), 1);
}

void TestEntryEditor::compareDialogAnswers_data()
{
    QTest::addColumn<QString>("press"); // a button caption, or "Esc"
    QTest::addColumn<OrganisationComparer::Choice>("choice");
    QTest::newRow("Yes") << "&Yes" << OrganisationComparer::Choice::Replace;
    QTest::newRow("No") << "&No" << OrganisationComparer::Choice::Keep;
    QTest::newRow("Change") << "&Change Org Name" << OrganisationComparer::Choice::Rename;
    QTest::newRow("Esc is No") << "Esc" << OrganisationComparer::Choice::Keep;
}

void TestEntryEditor::compareDialogAnswers()
{
    QFETCH(QString, press);
    QFETCH(OrganisationComparer::Choice, choice);
    OrganisationCompareDialog dialog;
    whenShown([&] {
        QCOMPARE(dialog.windowTitle(), QString("Compare"));
        QCOMPARE(dialog.findChild<QLabel *>("Label1")->text(), QString("Acme --- Tom Li"));
        if (press == "Esc") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            return;
        }
        for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
            if (b->text() == press)
                QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    QCOMPARE(dialog.compare({"Acme --- Tom Li", "Do you want to replace the existing?", "Info of the existing:\nx", "Info of the to-be-imported:\ny"}),
             choice);
}

void TestEntryEditor::fitsTheScreen()
{
    Fixture f;
    f.add([&] {
        const QRect frame = f.editor.frameGeometry();
        QVERIFY2(frame.height() <= 800 && frame.width() <= 1280, qPrintable(QString("%1x%2").arg(frame.width()).arg(frame.height())));
        QVERIFY(f.editor.screen()->availableGeometry().contains(f.editor.geometry()));
        // No label is cut.
        for (QLabel *label : f.editor.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        key(Qt::Key_Escape);
    });
}

void TestEntryEditor::fontTakenWithoutCutText_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("the application's") << QApplication::font();
    QTest::newRow("Liberation Serif, 12 pt") << QFont("Liberation Serif", 12);
    QTest::newRow("DejaVu Sans, 12 pt") << QFont("DejaVu Sans", 12);
}

void TestEntryEditor::fontTakenWithoutCutText()
{
    QFETCH(QFont, font);
    Fixture f;
    f.editor.setFont(font);
    // Texts as long as the narrow fields are meant for.
    const QList<QPair<const char *, QString>> samples = {
        {"Position", "Sales Manager"}, {"CZip", "12345"},   {"DPhone", "555 123 4567"}, {"CFax", "555 123 4567"},
        {"Zip", "12345-6789"},        {"Fax", "555 123 4567"}, {"Pager", "555 123 4567"}, {"Birthday", ""}};
    f.add([&] {
        QCOMPARE(f.field("Name")->font(), font);
        for (QLabel *label : f.editor.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        for (QPushButton *button : f.editor.findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        auto *date = f.field<NullableDateEdit>("Birthday");
        date->setDate(QDate(1999, 12, 31));
        QStringList cut;
        for (const auto &[name, sample] : samples) {
            QWidget *w = f.field(name);
            auto *line = qobject_cast<QComboBox *>(w) ? static_cast<QComboBox *>(w)->lineEdit()
                         : qobject_cast<NullableDateEdit *>(w) ? date->lineEdit() : qobject_cast<QLineEdit *>(w);
            if (!sample.isEmpty())
                line->setText(sample);
            // Shown from its first character with the caret after its last: the text is not scrolled.
            line->end(false);
            line->repaint(); // which scrolls a text wider than the field
            if (line->cursorPositionAt(QPoint(line->contentsRect().left() + 4, line->height() / 2)) != 0)
                cut << QString("%1: %2 in %3 pixels").arg(name, line->text()).arg(line->width());
        }
        QCOMPARE(cut.join(", "), QString());
        key(Qt::Key_Escape);
    });
}

QTEST_MAIN(TestEntryEditor)
#include "tst_entryeditor.moc"
