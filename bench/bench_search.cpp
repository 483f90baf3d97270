// Times the searches of a 100,000-entry book the way the window runs them:
// one person field, one organisation field matching about 500
// organisations, every searchable field at once, a birthday, a birth month,
// a name prefix, an organisation by name; then the name lookup box: the
// focus step (every white page, the sorted candidates) and each key typed
// into it, its list of candidates shown. Each figure is the median wall-clock
// time, with the processor time of all threads beside it: on a machine other
// programs keep busy the first grows, the second does not.
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "exchange/FieldCatalogue.h"
#include "navigation/RecordListModel.h"
#include "navigation/ViewListModel.h"
#include "search/OrganisationLookup.h"
#include "search/QuickLookup.h"
#include "search/SearchChoice.h"
#include "search/SearchEngine.h"
#include "settings/Settings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <ctime>
#include <functional>

using namespace qv;

namespace {

double processorMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Median wall-clock and median processor time of several runs.
std::pair<double, double> medians(int runs, const std::function<void()> &work)
{
    std::vector<double> processor;
    const double wall = bench::medianMs(runs, [&] {
        const double start = processorMs();
        work();
        processor.push_back(processorMs() - start);
    });
    std::sort(processor.begin(), processor.end());
    return {wall, processor[processor.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const GeneratedBook book = generateBook(100000, 10000, 1);
    RecordStore data;
    data.personRead.loadTable(book.persons);
    data.organisationRead.loadTable(book.organisations);
    data.bindViews();
    SearchEngine engine(data.personList, data.organisationLookup);
    Settings settings(QStringLiteral(":/shipped/aa.ini"));
    settings.readAll();
    const FieldCatalogue catalogue(settings);

    auto report = [](const char *what, std::pair<double, double> ms, long long count) {
        std::printf("%-52s %8.2f ms  %8.2f ms cpu  (%lld)\n", what, ms.first, ms.second, count);
    };
    auto listed = [&] { return (long long)data.personList.recordCount(); };
    const int runs = 7;
    auto time = [&](const char *what, const std::function<void()> &search) {
        const auto ms = medians(runs, search);
        report(what, ms, listed());
    };
    std::printf("%-52s %11s  %12s  (listed)\n", "goal: 50 ms each", "wall", "processor");

    time("one person field (Name contains \"smi\")", [&] { engine.findInPersonField(QStringLiteral("Name"), QStringLiteral("smi"), true); });
    time("one organisation field (Company contains \"acme\")",
         [&] { engine.findInOrgField(QStringLiteral("Company"), QStringLiteral("acme"), true); });
    std::printf("%-52s %12lld organisations\n", "  ... matching", (long long)engine.searchText().count(QStringLiteral("OrgID=")));
    SearchChoice everyField{SearchChoice::Kind::Start, {}, SearchLogic::Or, QStringLiteral("london")};
    for (const IniLine &line : std::as_const(settings.searchableFieldsList))
        everyField.labels << line.key;
    data.personList.setCaseInsensitive(true);
    time("every searchable field, ignoring case (\"london\")", [&] { searchAsChosen(engine, catalogue, everyField); });
    data.personList.setCaseInsensitive(false);
    time("every searchable field, respecting case", [&] { searchAsChosen(engine, catalogue, everyField); });
    std::printf("%-52s %12lld fields\n", "  ... over", (long long)everyField.labels.size());
    time("birthday (14 March)", [&] { engine.findByBirthday(3, 14); });
    time("birth month (March)", [&] { engine.findByBirthMonth(3); });
    time("name prefix (\"jo\")", [&] { engine.findByNamePrefix(QStringLiteral("jo")); });
    time("organisation by name", [&] { engine.findByOrg(organisationForLookup(data.organisationLookup, QStringLiteral("acme london ltd"))); });

    // The name lookup box as the window has it.
    QWidget window;
    auto *nameBox = new QComboBox(&window);
    nameBox->setModel(new ViewListModel(data.personNameLookup, QStringLiteral("Name"), nameBox));
    auto *organisationBox = new QComboBox(&window);
    organisationBox->setModel(new ViewListModel(data.organisationLookup, QStringLiteral("Company"), organisationBox));
    auto *other = new QLineEdit(&window);
    auto *layout = new QHBoxLayout(&window);
    for (QWidget *w : {static_cast<QWidget *>(nameBox), static_cast<QWidget *>(organisationBox), static_cast<QWidget *>(other)})
        layout->addWidget(w);
    QToolButton nameButton, organisationButton, widerButton;
    RecordListModel recordList;
    recordList.attachTables(data.personList, data.organisationList);
    QuickLookup lookup({nameBox, &nameButton, organisationBox, &organisationButton, &widerButton}, data, engine, recordList);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return 1;
    other->setFocus();
    QCoreApplication::processEvents();
    const auto focusMs = medians(1, [&] {
        nameBox->setFocus();
        QCoreApplication::processEvents();
    });
    report("name box focused: white pages, sorted candidates", focusMs, listed());
    QCompleter *completer = nameBox->lineEdit()->completer();
    std::vector<std::pair<double, double>> keys;
    long long candidates = 0;
    std::printf("%-52s %11s  %12s  (candidates)\n", "goal: 20 ms a key", "wall", "processor");
    for (const QString &typed : {QStringLiteral("John Smith"), QStringLiteral("Mary"), QStringLiteral("w")}) {
        nameBox->clearEditText();
        for (QChar c : typed) {
            keys.push_back(medians(1, [&] {
                QTest::keyClick(nameBox, c.toLatin1());
                QCoreApplication::processEvents();
            }));
            candidates = std::max(candidates, (long long)completer->completionCount());
        }
        QTest::keyClick(completer->popup(), Qt::Key_Escape);
    }
    std::sort(keys.begin(), keys.end());
    report("a key typed into the name box (median of 15)", keys[keys.size() / 2], candidates);
    report("a key typed into the name box (slowest)", keys.back(), candidates);
    return candidates == 0;
}
