// Times the record store on a generated book of 100,000 persons and 10,000
// organisations: saving and loading each table, every filter shape the
// program composes, a locate, a filtered count, whole-list walks and the
// rollback of 1,000 changes. With --dump DIR it also writes the same rows as
// tab-separated files for the SQLite comparison script.
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace qv;
using qv::bench::medianMs;

namespace {

void report(const char *what, double ms, long long count = -1)
{
    if (count >= 0)
        std::printf("%-44s %9.2f ms  (%lld rows)\n", what, ms, count);
    else
        std::printf("%-44s %9.2f ms\n", what, ms);
}

// Rows as tab-separated text with \N for empty, the form sqlite3's .import reads.
void dump(const RecordTable &table, const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray out;
    for (int row = 0; row < table.rowSlots(); ++row) {
        for (int c = 0; c < table.fieldCount(); ++c) {
            if (c > 0)
                out += '\t';
            const Value v = table.value(row, c);
            if (isNull(v)) {
                out += "\\N";
                continue;
            }
            QString text = std::holds_alternative<bool>(v) ? QString::number(std::get<bool>(v) ? 1 : 0) : valueText(v);
            text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            out += text.toUtf8();
        }
        out += '\n';
    }
    f.write(out);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 7;
    GeneratedBook book = generateBook(100000, 10000, 1);
    if (argc == 3 && QByteArray(argv[1]) == "--dump") {
        dump(*book.persons, QString::fromLocal8Bit(argv[2]) + "/persons.tsv");
        dump(*book.organisations, QString::fromLocal8Bit(argv[2]) + "/organisations.tsv");
        return 0;
    }

    RecordStore data;
    const QByteArray personBytes = writeTableBytes(*book.persons);
    const QByteArray orgBytes = writeTableBytes(*book.organisations);
    std::printf("person table %.1f MB, organisation table %.1f MB\n", personBytes.size() / 1e6, orgBytes.size() / 1e6);
    report("save person table (100,000 rows)", medianMs(runs, [&] { writeTableBytes(*book.persons); }));
    report("save organisation table (10,000 rows)", medianMs(runs, [&] { writeTableBytes(*book.organisations); }));
    report("load person table", medianMs(runs, [&] { readTableBytes(personBytes); }));
    report("load person table into the read copy, ordered", medianMs(runs, [&] {
        data.personRead.loadFromBytes(personBytes);
        data.personRead.recordCount();
    }));
    report("load organisation table into the read copy", medianMs(runs, [&] {
        data.organisationRead.loadFromBytes(orgBytes);
        data.organisationRead.recordCount();
    }));
    report("bind all views", medianMs(1, [&] { data.bindViews(); }));

    TableView &list = data.personList;
    QString orgList;
    for (int i = 0; i < 20; ++i)
        orgList += (i ? " OR " : "") + QStringLiteral("OrgID=%1").arg(2001 + i * 37);
    orgList = "(" + orgList + ")";
    const struct {
        const char *label;
        QString filter;
        bool caseInsensitive;
    } shapes[] = {
        {"filter: category (Group1..4 OR)", "Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005", false},
        {"filter: surname prefix, case-insensitive", "Surname='mc*' and (not (Yellow=true))", true},
        {"filter: surname prefix, case-sensitive", "Surname='Mc*' and (not (Yellow=true))", false},
        {"filter: white pages", "not (Yellow=true)", false},
        {"filter: yellow pages", "Yellow=true", false},
        {"filter: LIKE contains, case-insensitive", "Address LIKE '%street%'", true},
        {"filter: LIKE contains, two fields OR", "Phone LIKE '%0171%' OR Mobile LIKE '%0171%'", false},
        {"filter: Month and Day", "Month(Birthday)=3 AND Day(Birthday)=14", false},
        {"filter: Month", "Month(Birthday)=3", false},
        {"filter: OrgID list of 20", orgList, false},
        {"filter: exact name", "Name='Mary Smith'", false},
        {"filter: empty result OrgID=-1", "OrgID=-1", false},
    };
    for (const auto &s : shapes) {
        list.setCaseInsensitive(s.caseInsensitive);
        const double ms = medianMs(runs, [&] {
            list.setFilter(QString());
            list.setFilter(s.filter);
        });
        report(s.label, ms, list.recordCount());
    }
    list.setCaseInsensitive(false);
    list.setFilter(QString());

    report("locate ClientID 99999", medianMs(runs, [&] { list.locate("ClientID", qint32(99999)); }));
    report("locate company, case-insensitive",
           medianMs(runs, [&] { data.organisationLookup.locate("Company", QStringLiteral("umbrella"), {true, true}); }));
    list.setFilter("Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005");
    report("filtered count, 1,000 times", medianMs(runs, [&] {
        for (int i = 0; i < 1000; ++i)
            list.recordCount();
    }));
    list.setFilter(QString());
    long long walked = 0;
    report("walk all entries, first/next, reading Name", medianMs(runs, [&] {
        list.disableControls();
        walked = 0;
        for (list.first(); !list.atEnd(); list.next())
            walked += list.value(1).index();
        list.enableControls();
    }), list.recordCount());

    list.setLogChanges(true);
    const int rowsBefore = list.recordCount();
    const int before = list.changeCount();
    list.first();
    for (int i = 0; i < 1000; ++i) {
        list.edit();
        list.setValue("Position", QStringLiteral("Changed %1").arg(i));
        list.post();
        list.next();
    }
    list.setFilter("Position='Changed *'");
    const int edited = list.recordCount();
    list.setFilter(QString());
    if (edited != 1000) {
        std::fprintf(stderr, "FAILED: %d rows edited instead of 1000\n", edited);
        return 1;
    }
    report("rollback of 1,000 edits", medianMs(1, [&] { list.rollbackTo(before); }));
    list.setFilter("Position='Changed *'");
    if (list.recordCount() != 0) {
        std::fprintf(stderr, "FAILED: the rollback left %d edited rows\n", list.recordCount());
        return 1;
    }
    list.setFilter("Yellow=true");
    const int before2 = list.changeCount();
    report("delete 1,000 rows through a filtered view", medianMs(1, [&] {
        list.setFilter(QString());
        list.first();
        list.disableControls();
        for (int i = 0; i < 1000; ++i)
            list.remove();
        list.enableControls();
    }));
    // Counted only after the rollback has run: an argument evaluated
    // alongside the timing could count the rows before it.
    const double rollbackMs = medianMs(1, [&] { list.rollbackTo(before2); });
    const int rowsAfter = list.recordCount();
    report("rollback of 1,000 deletions", rollbackMs, rowsAfter);
    if (rowsAfter != rowsBefore) {
        std::fprintf(stderr, "FAILED: the rollback left %d rows, %d before the changes\n", rowsAfter, rowsBefore);
        return 1;
    }
    return walked == 0;
}
