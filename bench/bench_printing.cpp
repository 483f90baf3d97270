// Times the reports of a 10,000-entry book: laying out every page, writing
// each report as PDF, and the preview's work before it shows its first page
// and its last, with the memory it gains from showing every page in turn;
// and the processor time and peak memory of qvtool printing cards of 300
// and of 10,000 entries: the memory should not grow with the number of pages.
#include "BenchTiming.h"

#include "common/QtPrompter.h"
#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPdf.h"
#include "printing/ReportPreview.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

using namespace qv;

namespace {

struct ChildRun {
    double cpuSeconds = 0;
    double peakMb = 0;
};

// Runs qvtool print under GNU time for its processor time and peak resident memory.
ChildRun qvtoolPrint(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/time"), QStringList{QStringLiteral("-f"), QStringLiteral("%U %S %M"),
                                                         QStringLiteral(QVTOOL_PATH), QStringLiteral("print")} + args);
    p.waitForFinished(-1);
    const QList<QByteArray> lines = p.readAllStandardError().trimmed().split('\n');
    const QList<QByteArray> figures = lines.last().split(' ');
    if (p.exitCode() != 0 || figures.size() != 3) {
        std::printf("qvtool failed: %s\n", lines.join('\n').constData());
        return {};
    }
    return {figures[0].toDouble() + figures[1].toDouble(), figures[2].toDouble() / 1024.0};
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toDouble() * sysconf(_SC_PAGESIZE) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const GeneratedBook book = generateBook(10000, 1000, 1);
    RecordStore data;
    data.personRead.loadTable(book.persons);
    data.organisationRead.loadTable(book.organisations);
    data.bindViews();
    const ReportHeader header = reportHeader(QStringLiteral("Kim"), QStringLiteral("1/2/26"));
    const int runs = 3;

    std::printf("%-44s %9s %7s\n", "10,000 entries", "ms", "pages");
    for (PrintMode mode : kModePages) {
        PrintSettings settings;
        settings.mode = mode;
        const ReportContent content = collectReportContent(data, mode);
        int pages = 0;
        const double layoutMs = bench::medianMs(runs, [&] {
            ReportLayout layout(settings, content, header);
            for (pages = 0; !layout.atEnd(); ++pages)
                layout.nextPage();
        });
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        const double pdfMs = bench::medianMs(runs, [&] { writeReportPdf(pdf, settings, content, header); });
        std::printf("%-44s %9.1f %7d\n", qPrintable(modeCaption(mode) + QStringLiteral(": layout")), layoutMs, pages);
        std::printf("%-44s %9.1f %7.1f MB\n", qPrintable(modeCaption(mode) + QStringLiteral(": PDF (goal < 5000 ms)")),
                    pdfMs, QFileInfo(pdf).size() / 1e6);
    }

    // The preview finds the page breaks, then draws only the pages in view;
    // grabbing its view paints it at once, as the screen would.
    PrintSettings cards;
    const ReportContent content = collectReportContent(data, PrintMode::Cards);
    QPrinter printer;
    QtPrompter prompter;
    const double breaksMs = bench::medianMs(runs, [&] { PagedReport report(cards, content, header); });
    std::printf("%-44s %9.1f\n", "Cards: page breaks", breaksMs);
    const double firstMs = bench::medianMs(runs, [&] {
        ReportPreview preview(PagedReport(cards, content, header), printer, false, prompter);
        preview.show();
        preview.pageView()->viewport()->grab();
    });
    std::printf("%-44s %9.1f\n", "Cards: preview's first page (goal < 1000 ms)", firstMs);
    ReportPreview preview(PagedReport(cards, content, header), printer, false, prompter);
    preview.show();
    PreviewPageView &view = *preview.pageView();
    view.viewport()->grab();
    const double lastMs = bench::medianMs(runs, [&] {
        view.showPage(1);
        view.showPage(view.pageCount());
        view.viewport()->grab();
    });
    std::printf("%-44s %9.1f %7d\n", "Cards: preview's last page", lastMs, view.pageCount());
    const double before = residentMb();
    for (int number = 1; number <= view.pageCount(); ++number) {
        view.showPage(number);
        view.viewport()->grab();
    }
    std::printf("%-44s %9.1f MB\n", "Cards: preview's memory after every page", residentMb() - before);

    const QString small = dir.filePath(QStringLiteral("small.qvp"));
    const QString large = dir.filePath(QStringLiteral("large.qvp"));
    for (const auto &[path, persons] : {std::pair{small, 300}, {large, 10000}}) {
        QProcess::execute(QStringLiteral(QVTOOL_PATH), {QStringLiteral("generate"), QStringLiteral("--persons"), QString::number(persons),
                                                        QStringLiteral("--organisations"), QStringLiteral("100"), path});
    }
    const QString out = dir.filePath(QStringLiteral("out.pdf"));
    for (const auto &[path, label] : {std::pair{small, "300"}, {large, "10,000"}}) {
        const ChildRun run = qvtoolPrint({path, QStringLiteral("--mode"), QStringLiteral("cards"), QStringLiteral("--pdf"), out});
        std::printf("qvtool print cards, %-6s entries: %6.2f s of processor, peak %5.1f MB\n", label, run.cpuSeconds,
                    run.peakMb);
    }
    return 0;
}
