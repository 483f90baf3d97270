// The print preview window, with real widgets: its pages, navigation, zoom,
// the pages it draws against the printed ones, and export to PDF.
#include "PersonFixture.h"
#include "ScriptedPrompter.h"

#include "data/RecordStore.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPainter.h"
#include "printing/ReportPreview.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace qv;

namespace {

// 70 listed cards, 16 to a page: five pages.
constexpr int kPersons = 70;
constexpr int kPages = 5;

struct Preview {
    RecordStore data;
    PrintSettings settings;
    ReportHeader header = reportHeader("Kim", "1/2/26");
    QPrinter printer;
    test::ScriptedPrompter prompter;
    std::unique_ptr<ReportPreview> window;

    explicit Preview(bool printerInstalled = false)
    {
        for (int i = 0; i < kPersons; ++i) {
            const QString name = QString("Person %1").arg(i, 2, 10, QChar('0'));
            data.personRead.appendRecord(test::person({{"ClientID", qint32(100 + i)}, {"Name", name},
                                                       {"SurName", name}, {"Phone", QString("555-01%1").arg(i)},
                                                       {"Address", QString("%1 High Street").arg(i)}}));
        }
        data.organisationRead.appendRecord({qint32(0), QString("Nobody Ltd")});
        data.bindViews();
        window = std::make_unique<ReportPreview>(
            PagedReport(settings, collectReportContent(data, settings.mode), header), printer, printerInstalled,
            prompter);
        window->resize(700, 800);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("The preview did not show");
    }

    PreviewPageView *view() const { return window->pageView(); }
    QAction *action(const char *name) const { return window->findChild<QAction *>(name); }
    QString pageField() const { return window->findChild<QLineEdit *>("pageNumber")->text(); }

    // The page as the printer and the PDF get it: laid out in turn from the first.
    ReportPage printedPage(int number)
    {
        const ReportContent content = collectReportContent(data, settings.mode);
        ReportLayout layout(settings, content, header);
        ReportPage page = layout.nextPage();
        while (page.number < number)
            page = layout.nextPage();
        return page;
    }
};

QImage paintedAt(const ReportPage &page, QSize size, int dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    ReportPainter(painter).drawPage(page);
    return image;
}

void pressKeys(QWidget *widget, const QString &keys)
{
    const QMap<QString, Qt::Key> named{{"Home", Qt::Key_Home},
                                       {"End", Qt::Key_End},
                                       {"PgUp", Qt::Key_PageUp},
                                       {"PgDown", Qt::Key_PageDown}};
    for (const QString &key : keys.split(' ', Qt::SkipEmptyParts))
        QTest::keyClick(widget, named.value(key));
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT
private slots:
    void showsItsPages();
    void navigationKeys_data();
    void navigationKeys();
    void typedPageNumber();
    void scrollingFollowsThePage();
    void drawnPageEqualsThePrintedPage_data();
    void drawnPageEqualsThePrintedPage();
    void zoom();
    void exportToPdf();
    void printsARangeOfPages();
    void escapeCloses();
};

void TestReportPreview::showsItsPages()
{
    Preview p;
    QCOMPARE(p.window->windowTitle(), QString("Print Preview"));
    QCOMPARE(p.view()->pageCount(), kPages);
    QCOMPARE(p.window->findChild<QLabel *>("pageCount")->text().trimmed(), QString("/ 5"));
    QCOMPARE(p.pageField(), QString("1"));
    QVERIFY(!p.action("print")->isEnabled()); // no printer
    QCOMPARE(p.action("exportPdf")->text(), QString("Export to PDF..."));
    QCOMPARE(p.action("print")->text(), QString("&Print"));
    // Fitting the width: the first page fills the view but for the gaps at its sides.
    QVERIFY(p.action("fitWidth")->isChecked());
    QCOMPARE(p.window->findChild<QComboBox *>("zoom")->currentText(),
             QString("%1%").arg(qRound(p.view()->zoomFactor() * 100)));
    QVERIFY(p.view()->zoomFactor() > 0.5);
    const QRect page = p.view()->pageRect(1);
    QVERIFY(page.left() > 0);
    QVERIFY(page.right() < p.view()->viewport()->width());
    QVERIFY(p.view()->viewport()->width() - page.width() < 40);
    QVERIFY(page.top() > 0 && page.top() < 30);
}

void TestReportPreview::navigationKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("page");
    QTest::newRow("next") << "PgDown" << 2;
    QTest::newRow("next twice") << "PgDown PgDown" << 3;
    QTest::newRow("last") << "End" << kPages;
    QTest::newRow("last, previous") << "End PgUp" << kPages - 1;
    QTest::newRow("last, first") << "End Home" << 1;
    QTest::newRow("before the first") << "PgUp" << 1;
    QTest::newRow("beyond the last") << "End PgDown PgDown" << kPages;
}

void TestReportPreview::navigationKeys()
{
    QFETCH(QString, keys);
    QFETCH(int, page);
    Preview p(true);
    p.action("fitPage")->trigger();
    pressKeys(p.view(), keys);
    QCOMPARE(p.view()->currentPage(), page);
    QCOMPARE(p.pageField(), QString::number(page));
    // The page stands whole in the view.
    QVERIFY(p.view()->viewport()->rect().contains(p.view()->pageRect(page)));
}

void TestReportPreview::typedPageNumber()
{
    Preview p;
    QLineEdit *field = p.window->findChild<QLineEdit *>("pageNumber");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "4");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(p.view()->currentPage(), 4);
    QVERIFY(p.view()->pageRect(4).top() >= 0 && p.view()->pageRect(4).top() < 30);
    // The page keys move through the pages, not the cursor through the field.
    QTest::keyClick(field, Qt::Key_PageDown);
    QCOMPARE(p.view()->currentPage(), 5);
}

void TestReportPreview::scrollingFollowsThePage()
{
    Preview p;
    p.view()->setZoomFactor(1.0);
    QScrollBar *bar = p.view()->verticalScrollBar();
    // The page in the middle of the view is the current one.
    bar->setValue(bar->value() + p.view()->pageRect(3).top() + 10);
    QCOMPARE(p.view()->currentPage(), 3);
    QCOMPARE(p.pageField(), QString("3"));
    QTest::keyClick(p.view(), Qt::Key_PageDown);
    QCOMPARE(p.view()->currentPage(), 4);
    // Small pages, several in view: at either end the first or the last page is the current one.
    p.view()->setZoomFactor(0.25);
    bar->setValue(bar->maximum());
    QCOMPARE(p.view()->currentPage(), kPages);
    bar->setValue(0);
    QCOMPARE(p.view()->currentPage(), 1);
}

void TestReportPreview::drawnPageEqualsThePrintedPage_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("page");
    QTest::addColumn<double>("zoom"); // 0: the whole page in view
    QTest::newRow("third page, whole") << "PgDown PgDown" << 3 << 0.0;
    QTest::newRow("last page, whole") << "End" << kPages << 0.0;
    QTest::newRow("second page at 150 %, its top") << "PgDown" << 2 << 1.5;
}

void TestReportPreview::drawnPageEqualsThePrintedPage()
{
    QFETCH(QString, keys);
    QFETCH(int, page);
    QFETCH(double, zoom);
    Preview p;
    if (zoom > 0)
        p.view()->setZoomFactor(zoom);
    else
        p.action("fitPage")->trigger();
    pressKeys(p.view(), keys);
    QCOMPARE(p.view()->currentPage(), page);
    const QRect rect = p.view()->pageRect(page);
    const QRect shown = rect & p.view()->viewport()->rect();
    QVERIFY(shown.height() > 200);
    const QImage drawn = p.view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(shown);
    const QImage printed = paintedAt(p.printedPage(page), rect.size(), p.view()->dotsPerInch())
                               .copy(shown.translated(-rect.topLeft()));
    QCOMPARE(drawn.size(), printed.size());
    QVERIFY(drawn == printed);
}

void TestReportPreview::zoom()
{
    Preview p;
    auto *box = p.window->findChild<QComboBox *>("zoom");
    p.view()->setZoomFactor(1.0);
    QCOMPARE(box->currentText(), QString("100%"));
    QVERIFY(!p.action("fitWidth")->isChecked());
    const int width = p.view()->pageRect(1).width();
    p.action("zoomIn")->trigger();
    QCOMPARE(box->currentText(), QString("125%"));
    QVERIFY(qAbs(p.view()->pageRect(1).width() - width * 1.25) <= 1);
    p.action("zoomOut")->trigger();
    p.action("zoomOut")->trigger();
    QCOMPARE(box->currentText(), QString("80%"));
    // Ctrl and the wheel: one notch forward zooms in.
    QWheelEvent wheel(QPointF(50, 50), p.view()->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(p.view()->viewport(), &wheel);
    QCOMPARE(box->currentText(), QString("100%"));
    // A typed zoom.
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "50");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->currentText(), QString("50%"));
    QVERIFY(qAbs(p.view()->pageRect(1).width() - width * 0.5) <= 1);
    // Fitting the page: the whole page and its gaps in view.
    p.action("fitPage")->trigger();
    QVERIFY(p.action("fitPage")->isChecked());
    QVERIFY(p.view()->viewport()->rect().contains(p.view()->pageRect(1)));
    QVERIFY(p.view()->viewport()->height() - p.view()->pageRect(1).height() < 40);
}

void TestReportPreview::exportToPdf()
{
    Preview p;
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.pdf");
    p.prompter.expectSaveFile(path);
    p.action("exportPdf")->trigger();
    QVERIFY(p.prompter.verifyAllAnswered());
    QCOMPARE(p.prompter.calls().at(0).save.caption, QString("Export to PDF"));
    QCOMPARE(p.prompter.calls().at(0).save.proposedName, QString("Cards.pdf"));
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count(QByteArray("/Type /Page\n")), qsizetype(kPages));
    QVERIFY(p.window->isVisible()); // the preview stays open
}

void TestReportPreview::printsARangeOfPages()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("poppler-utils (pdftotext) is not installed");
    Preview p;
    QTemporaryDir dir;
    const QString path = dir.filePath("range.pdf");
    {
        QPdfWriter writer(path);
        prepareReportPage(writer);
        paintReportPages(writer, PagedReport(p.settings, collectReportContent(p.data, p.settings.mode), p.header), 2, 3);
    }
    QProcess text;
    text.start("pdftotext", {"-layout", path, "-"});
    QVERIFY(text.waitForFinished());
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const ReportPage printed = p.printedPage(2 + i);
        const auto firstName = std::find_if(printed.texts.begin(), printed.texts.end(),
                                            [](const ReportText &t) { return t.text.startsWith("Person"); });
        QVERIFY(firstName != printed.texts.end());
        QVERIFY2(pages[i].contains(firstName->text), qPrintable(firstName->text));
        QVERIFY(!pages[i].contains("Kim's Address Book")); // the title is on the first page only
    }
}

void TestReportPreview::escapeCloses()
{
    Preview p;
    QTest::keyClick(p.view(), Qt::Key_Escape);
    QVERIFY(!p.window->isVisible());
    QCOMPARE(p.window->result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
