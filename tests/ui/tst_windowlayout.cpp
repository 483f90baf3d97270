#include "ScriptedPrompter.h"

#include "common/LayoutScale.h"
#include "common/ScreenPlacement.h"
#include "data/RecordStore.h"
#include "shell/LockIndicator.h"
#include "shell/MainWindow.h"
#include "shell/ProgramDirectory.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace qv;

namespace {

void generateBook(const QString &path, int persons)
{
    QProcess p;
    p.start(QStringLiteral(QVTOOL_PATH), {"generate", "--persons", QString::number(persons), "--organisations", "10", path});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
}

// A program directory with a default book, and the main window over it.
struct Window {
    QTemporaryDir dir;
    QString home;
    RecordStore data;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;

    explicit Window(const QByteArray &settings = QByteArray())
    {
        home = dir.path() + "/";
        installShippedFiles(home);
        QDir().mkpath(home + "Data");
        generateBook(home + "Data/Default.qvp", 30);
        if (!settings.isEmpty()) {
            QFile f(home + "aa.ini");
            if (f.open(QIODevice::Append))
                f.write(settings);
        }
    }
    void start()
    {
        window = std::make_unique<MainWindow>(home, dir.path() + "/work/", data, &prompter);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QString storedValue(const QString &key) const
    {
        QFile f(home + "aa.ini");
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        for (const QString &line : QString::fromUtf8(f.readAll()).split('\n')) {
            if (line.startsWith(key + "="))
                return line.mid(key.size() + 1).trimmed();
        }
        return QString();
    }
};

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void scaleFollowsLineHeight_data();
    void scaleFollowsLineHeight();
    void centredWithinAvailableArea_data();
    void centredWithinAvailableArea();
    void windowOpensCentredOnScreen_data();
    void windowOpensCentredOnScreen();
    void storedSizesRoundTrip_data();
    void storedSizesRoundTrip();
    void countsPanelGrowsToItsText_data();
    void countsPanelGrowsToItsText();
    void hintsReachTheHintPanel_data();
    void hintsReachTheHintPanel();
    void twoPartHintShowsItsLongForm_data();
    void twoPartHintShowsItsLongForm();
    void hintPanelTakesTheRoomLeft_data();
    void hintPanelTakesTheRoomLeft();
    void widerWindowShowsMoreOfTheHint();
    void detailFieldsVisibleAtDefaultSize_data();
    void detailFieldsVisibleAtDefaultSize();
    void categoryCaptionsUncutAtDefaultSize_data();
    void categoryCaptionsUncutAtDefaultSize();

private:
    std::unique_ptr<Window> m_default; // one window at the default size, shared by the read-only checks
};

void TestWindowLayout::initTestCase()
{
    m_default = std::make_unique<Window>();
    m_default->start();
}

void TestWindowLayout::scaleFollowsLineHeight_data()
{
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("designed");
    QTest::addColumn<int>("expected");

    QTest::newRow("designed font keeps the size") << 13 << 228 << 228;
    QTest::newRow("smaller font never shrinks") << 10 << 228 << 228;
    QTest::newRow("tiny font never shrinks") << 1 << 640 << 640;
    QTest::newRow("double line height doubles") << 26 << 228 << 456;
    QTest::newRow("16 pixel lines, rounded") << 16 << 640 << 788;
    QTest::newRow("16 pixel lines, small size") << 16 << 23 << 28;
}

void TestWindowLayout::scaleFollowsLineHeight()
{
    QFETCH(int, lineHeight);
    QFETCH(int, designed);
    QFETCH(int, expected);
    QCOMPARE(LayoutScale(lineHeight)(designed), expected);
    QCOMPARE(LayoutScale(lineHeight)(designed, designed), QSize(expected, expected));
}

void TestWindowLayout::centredWithinAvailableArea_data()
{
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("small window in the middle") << QSize(400, 300) << QRect(0, 0, 800, 600) << QRect(200, 150, 400, 300);
    QTest::newRow("below a panel at the top") << QSize(400, 300) << QRect(0, 30, 800, 570) << QRect(200, 165, 400, 300);
    QTest::newRow("second screen") << QSize(400, 300) << QRect(1024, 0, 800, 600) << QRect(1224, 150, 400, 300);
    QTest::newRow("too wide: cut to the width") << QSize(1000, 300) << QRect(0, 0, 800, 600) << QRect(0, 150, 800, 300);
    QTest::newRow("too large: the whole area") << QSize(3000, 2000) << QRect(0, 30, 800, 570) << QRect(0, 30, 800, 570);
}

void TestWindowLayout::centredWithinAvailableArea()
{
    QFETCH(QSize, wanted);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    QCOMPARE(centredWithin(wanted, available), expected);
}

void TestWindowLayout::windowOpensCentredOnScreen_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QSize>("expectedSize"); // invalid: at least the designed 640 by 480
    QTest::addColumn<bool>("fillsArea");

    QTest::newRow("first start") << QByteArray() << QSize() << false;
    QTest::newRow("stored size") << QByteArray("[MiscOption]\nFormWidth=760\nFormHeight=580\n") << QSize(760, 580) << false;
    QTest::newRow("stored size beyond the screen")
        << QByteArray("[MiscOption]\nFormWidth=3000\nFormHeight=2000\n") << QSize() << true;
}

void TestWindowLayout::windowOpensCentredOnScreen()
{
    QFETCH(QByteArray, settings);
    QFETCH(QSize, expectedSize);
    QFETCH(bool, fillsArea);

    Window w(settings);
    w.start();
    const QRect available = w.window->screen()->availableGeometry();
    const QRect frame = w.window->frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(QString("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
    QVERIFY(qAbs((frame.left() - available.left()) - (available.right() - frame.right())) <= 1);
    QVERIFY(qAbs((frame.top() - available.top()) - (available.bottom() - frame.bottom())) <= 1);
    if (fillsArea) {
        QCOMPARE(frame.size(), available.size());
    } else if (expectedSize.isValid()) {
        QCOMPARE(w.window->size(), expectedSize);
    } else {
        QVERIFY(w.window->width() >= 640);
        QVERIFY(w.window->height() >= 480);
    }
}

void TestWindowLayout::storedSizesRoundTrip_data()
{
    QTest::addColumn<int>("formWidth");
    QTest::addColumn<int>("formHeight");
    QTest::addColumn<int>("leftPanelWidth");
    QTest::addColumn<int>("gridHeight");

    QTest::newRow("wide left column") << 760 << 580 << 300 << 200;
    QTest::newRow("narrow left column, low navigation") << 720 << 590 << 150 << 100;
}

void TestWindowLayout::storedSizesRoundTrip()
{
    QFETCH(int, formWidth);
    QFETCH(int, formHeight);
    QFETCH(int, leftPanelWidth);
    QFETCH(int, gridHeight);

    Window w(QString("[MiscOption]\nFormWidth=%1\nFormHeight=%2\nLeftPanelWidth=%3\nGridHeight=%4\n")
                 .arg(formWidth)
                 .arg(formHeight)
                 .arg(leftPanelWidth)
                 .arg(gridHeight)
                 .toUtf8());
    w.start();
    QVERIFY(w.window->close());
    QCOMPARE(w.storedValue("FormWidth"), QString::number(formWidth));
    QCOMPARE(w.storedValue("FormHeight"), QString::number(formHeight));
    QCOMPARE(w.storedValue("LeftPanelWidth"), QString::number(leftPanelWidth));
    QCOMPARE(w.storedValue("GridHeight"), QString::number(gridHeight));
}

void TestWindowLayout::countsPanelGrowsToItsText_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("small book") << "300 Entries; 300 Listed; 0 Selected";
    QTest::newRow("large book") << "100000 Entries; 100000 Listed; 0 Selected";
    QTest::newRow("large book, all selected") << "100000 Entries; 100000 Listed; 100000 Selected";
}

void TestWindowLayout::countsPanelGrowsToItsText()
{
    QFETCH(QString, text);

    auto *panel = m_default->window->findChild<QLabel *>("countsPanel");
    QVERIFY(panel);
    panel->setText(text);
    m_default->window->statusBar()->layout()->activate();
    QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text),
             qPrintable(QString("%1 < %2").arg(panel->contentsRect().width()).arg(panel->fontMetrics().horizontalAdvance(text))));
}

void TestWindowLayout::hintsReachTheHintPanel_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");

    QTest::newRow("name lookup") << "nameLookup" << "Searh by name";
    QTest::newRow("organisation lookup") << "organisationLookup" << "Search by org.";
    QTest::newRow("Org button") << "organisationBoxButton" << "Click to show a larger input box";
    QTest::newRow("work memo") << "detailCMemo" << "Double-click to view";
    QTest::newRow("home memo") << "detailMemo" << "Double-click to view";
}

void TestWindowLayout::hintsReachTheHintPanel()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);

    auto *widget = m_default->window->findChild<QWidget *>(control);
    QVERIFY(widget);
    auto *panel = m_default->window->findChild<QLabel *>("hintPanel");
    QVERIFY(panel);
    panel->clear();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(widget, &enter);
    QCOMPARE(panel->text(), hint);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
    QCOMPARE(panel->text(), QString());
}

void TestWindowLayout::twoPartHintShowsItsLongForm_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");

    QTest::newRow("short and long") << "Open|Open an address book from the list" << "Open an address book from the list";
    QTest::newRow("a bar in the long form") << "Find|Name|Org" << "Name|Org";
    QTest::newRow("one part only") << "Delete entries" << "Delete entries";
}

void TestWindowLayout::twoPartHintShowsItsLongForm()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);

    auto *panel = m_default->window->findChild<QLabel *>("hintPanel");
    QVERIFY(panel);
    QStatusTipEvent tip(hint);
    QApplication::sendEvent(m_default->window.get(), &tip);
    QCOMPARE(panel->text(), shown);
}

void TestWindowLayout::hintPanelTakesTheRoomLeft_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("whole"); // shown whole at the default size

    const QString wab = "Import from the current WAB (MS Outlook Express address book)";
    QTest::newRow("the longest hint of the menus") << wab << true;
    QTest::newRow("a hint longer than the window") << QStringList(3, wab).join(' ') << false;
    QTest::newRow("a short hint after a long one") << "Delete entries" << true;
}

// At the default window size the hint panel reaches from the padlock to the
// window's edge, where the longest hint of the menus fits; a longer one is
// cut with an ellipsis and shown whole in the panel's tool tip.
void TestWindowLayout::hintPanelTakesTheRoomLeft()
{
    QFETCH(QString, hint);
    QFETCH(bool, whole);

    QStatusBar *bar = m_default->window->statusBar();
    auto *panel = m_default->window->findChild<QLabel *>("hintPanel");
    QVERIFY(panel);
    // The counts as the book shows them, whatever an earlier test wrote there.
    m_default->window->findChild<QLabel *>("countsPanel")->setText(m_default->window->countsText());
    QStatusTipEvent tip(hint);
    QApplication::sendEvent(m_default->window.get(), &tip);
    bar->layout()->activate();
    const QRect room(QPoint(m_default->window->findChild<LockIndicator *>()->geometry().right() + 1, 0),
                     bar->contentsRect().bottomRight());
    QVERIFY2(room.contains(panel->geometry()), qPrintable(QString("panel %1..%2, room %3..%4")
                                                              .arg(panel->geometry().left()).arg(panel->geometry().right())
                                                              .arg(room.left()).arg(room.right())));
    // All of the room but the layout's gaps beside the padlock and at the edge.
    const int spacing = bar->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    QVERIFY2(panel->width() >= room.width() - 2 * std::max(spacing, 8),
             qPrintable(QString("panel %1 wide of %2").arg(panel->width()).arg(room.width())));
    const int shownWidth = panel->fontMetrics().horizontalAdvance(panel->text());
    QVERIFY2(shownWidth <= panel->contentsRect().width(),
             qPrintable(QString("%1 > %2").arg(shownWidth).arg(panel->contentsRect().width())));
    if (whole) {
        QCOMPARE(panel->text(), hint);
        QCOMPARE(panel->toolTip(), QString());
    } else {
        QVERIFY2(panel->text().endsWith(QChar(0x2026)) && hint.startsWith(panel->text().chopped(1)), qPrintable(panel->text()));
        QCOMPARE(panel->toolTip(), hint);
    }
}

void TestWindowLayout::widerWindowShowsMoreOfTheHint()
{
    MainWindow &window = *m_default->window;
    auto *panel = window.findChild<QLabel *>("hintPanel");
    const QString hint = QStringList(3, "Import from the current WAB (MS Outlook Express address book)").join(' ');
    QStatusTipEvent tip(hint);
    QApplication::sendEvent(&window, &tip);
    const QSize before = window.size();
    const QString cut = panel->text();
    QVERIFY(cut.size() < hint.size());
    window.resize(before.width() + panel->fontMetrics().horizontalAdvance(hint), before.height());
    QTRY_COMPARE(panel->text(), hint);
    QCOMPARE(panel->toolTip(), QString());
    window.resize(before);
    QTRY_COMPARE(panel->text(), cut);
    QCOMPARE(panel->toolTip(), hint);
}

void TestWindowLayout::detailFieldsVisibleAtDefaultSize_data()
{
    QTest::addColumn<QString>("field");

    for (const char *field : {"Name", "Position", "Company", "CAddress", "CZip", "CPhone", "DPhone", "CFax", "CEMail", "CMemo",
                              "Address", "Zip", "Phone", "Fax", "Mobile", "Pager", "EMail", "Birthday", "Memo"})
        QTest::newRow(field) << QString::fromLatin1(field);
}

void TestWindowLayout::detailFieldsVisibleAtDefaultSize()
{
    QFETCH(QString, field);

    auto *editor = m_default->window->findChild<QWidget *>("detail" + field);
    QVERIFY(editor);
    auto *pane = m_default->window->findChild<QWidget *>("detailPane");
    auto *scroll = qobject_cast<QScrollArea *>(pane->parentWidget()->parentWidget());
    QVERIFY(scroll);
    QCOMPARE(scroll->verticalScrollBar()->maximum(), 0); // nothing to scroll to
    const QRect inViewport(editor->mapTo(scroll->viewport(), QPoint()), editor->size());
    QVERIFY(scroll->viewport()->rect().contains(inViewport));
    // Not squeezed: a line shows its whole text height, a memo two lines at least.
    if (auto *memo = qobject_cast<QPlainTextEdit *>(editor))
        QVERIFY(memo->viewport()->height() >= 2 * memo->fontMetrics().lineSpacing());
    else
        QVERIFY(editor->height() >= editor->minimumSizeHint().height());
}

void TestWindowLayout::categoryCaptionsUncutAtDefaultSize_data()
{
    QTest::addColumn<QString>("caption");

    QTest::newRow("words") << "Suppliers and Agents";
    QTest::newRow("one long word") << "Telecommunications20";
    QTest::newRow("capitals and digits") << "CLUB MEMBERS 2024-25";
}

void TestWindowLayout::categoryCaptionsUncutAtDefaultSize()
{
    QFETCH(QString, caption);
    QCOMPARE(caption.size(), 20);

    auto *tree = m_default->window->findChild<QTreeWidget *>("categoryTree");
    QVERIFY(tree && tree->topLevelItemCount() > 0);
    // A category one level below the top, as the user adds them.
    auto *item = new QTreeWidgetItem(tree->topLevelItem(0), QStringList{caption});
    tree->topLevelItem(0)->setExpanded(true);
    const int needed = tree->visualItemRect(item).left() + tree->sizeHintForIndex(tree->indexFromItem(item)).width();
    delete item;
    QVERIFY2(tree->viewport()->width() >= needed, qPrintable(QString("%1 < %2").arg(tree->viewport()->width()).arg(needed)));
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
