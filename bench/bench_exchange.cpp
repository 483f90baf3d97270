// CSV export and import of a generated 100,000-entry book beside sqlite3 on
// the same rows: the export against sqlite3's CSV output of a table of the
// exported columns (goal: within 1.0 times), the import, with name splitting
// and the organisation looked up by name, against sqlite3's .import of the
// same file (goal: within 3 times). Each figure is the median of three runs,
// sqlite3 timed as a whole process like the work it stands for.
#include "QuietPrompter.h"
#include "BenchTiming.h"
#include "BookInMemory.h"
#include "KeepingComparer.h"

#include "common/Prompter.h"
#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/ComparingSameNameCheck.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace qv;

namespace {

const QStringList kFields = {"Name",    "SurName", "MidName", "GivenName", "Position", "Address", "Zip",  "EMail", "Phone",
                             "Fax",     "Mobile",  "Pager",   "Birthday",  "Memo",     "ICQ",     "DPhone", "URL",  "Company",
                             "CAddress", "CZip",   "CPhone",  "CFax",      "CEMail",   "CMemo",   "CURL"};

// A book in memory with the exchange engine over it.
struct Book : test::BookInMemory {
    Settings settings;
    ExchangeEngine engine{settings, edit, data};

    Book(const GeneratedBook &content, const QString &settingsPath)
        : BookInMemory(content)
        , settings(settingsPath)
    {
        for (const QString &f : kFields)
            settings.fieldsList.append({f, f});
        settings.checkOrgSameName = false;
    }
};

double sqliteMs(const QString &dir, const QStringList &commands)
{
    return bench::medianMs(3, [&] {
        QFile::remove(dir + "/work.db");
        QFile::copy(dir + "/base.db", dir + "/work.db");
        QProcess p;
        p.start("sqlite3", QStringList{dir + "/work.db"} + commands);
        p.waitForFinished(-1);
    });
}

void print(const char *what, double ours, double theirs, double goal)
{
    std::printf("%-44s ours %8.1f ms   sqlite3 %8.1f ms   ratio %.2f   goal <= %.1f\n", what, ours, theirs, ours / theirs, goal);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const GeneratedBook content = generateBook(100000, 10000, 11);
    const QString exported = dir.filePath("export.csv");

    Book source(content, dir.filePath("aa.ini"));
    source.engine.selectFields(kFields);
    const double exportMs = bench::medianMs(3, [&] { source.engine.exportCsv(exported, false, false); });

    // sqlite3's side: a table of the same 25 columns holding the same rows.
    // One more column for the empty value after the comma that ends each line.
    QStringList columns;
    for (int i = 1; i <= kFields.size() + 1; ++i)
        columns << QStringLiteral("c%1 TEXT").arg(i);
    QProcess::execute("sqlite3", {dir.filePath("base.db"), "CREATE TABLE t(" + columns.join(',') + ");"});
    QFile::copy(dir.filePath("base.db"), dir.filePath("empty.db"));
    QProcess::execute("sqlite3", {dir.filePath("base.db"), ".mode csv", ".import " + exported + " t"});
    const double sqliteExport = sqliteMs(dir.path(), {".mode csv", ".output " + dir.filePath("sqlite.csv"), "SELECT * FROM t;"});
    print("export 100,000 entries, 25 fields", exportMs, sqliteExport, 1.0);

    QFile::remove(dir.filePath("base.db"));
    QFile::copy(dir.filePath("empty.db"), dir.filePath("base.db"));
    const double sqliteImport = sqliteMs(dir.path(), {".mode csv", ".import " + exported + " t"});
    const GeneratedBook empty = generateBook(0, 0, 1);
    bench::QuietPrompter prompter;
    int imported = 0;
    const double importMs = bench::medianMs(3, [&] {
        Book target(empty, dir.filePath("aa2.ini"));
        for (int i = 0; i < kFields.size(); ++i) {
            if (kFields[i] != "SurName" && kFields[i] != "MidName" && kFields[i] != "GivenName")
                target.settings.importFieldMapping[size_t(i)][0] = i + 1; // Name split into its parts
        }
        bench::KeepingComparer keep;
        ComparingSameNameCheck check(target.edit, prompter, keep);
        target.engine.openImportFile(exported);
        imported = target.engine.importCsv(1000, check, prompter).imported;
        target.engine.closeImportFile();
    });
    print("import 100,000 records (names, organisations)", importMs, sqliteImport, 3.0);
    std::printf("imported %d entries\n", imported);
    return 0;
}
