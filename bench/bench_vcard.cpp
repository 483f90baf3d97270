// Times the vCard module on a file of 100,000 cards, one for each person of
// the generated book: the export of every entry into a file in each version
// (goal: under 1 s), reading the file back, with and without the card
// object's look-ups (goal: under 0.5 s), and the import of the 2.1 file into
// an empty book through the edit model (goal: under 3 s).
#include "BenchTiming.h"
#include "BookInMemory.h"
#include "KeepingComparer.h"
#include "QuietPrompter.h"

#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardImport.h"
#include "exchange/vcard/VCardReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace qv;
using namespace qv::vcard;
using qv::bench::medianMs;

namespace {

constexpr int Persons = 100000;
constexpr double ExportGoalMs = 1000;
constexpr double ReadGoalMs = 500;
constexpr double ImportGoalMs = 3000;

const char *verdict(double ms, double goal)
{
    return ms < goal ? "met" : "MISSED";
}

// Reads every card into the card object and asks it what the import asks.
qsizetype readThroughCardObject(const QByteArray &file)
{
    qsizetype telephones = 0;
    for (ReadCard &read : readVCards(file)) {
        const VCard card(std::move(read.card));
        telephones += card.telephoneCount() + card.formattedName().size() + card.organisationText().size();
        for (int i = 0; i < card.telephoneCount(); ++i)
            telephones += card.telephoneTypes(i);
        (void)card.birthday();
    }
    return telephones;
}

// The median time of reading the file; the cards are freed outside the timing.
double readingMs(int runs, const QByteArray &file, std::size_t &count)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::vector<ReadCard> cards = readVCards(file);
        times.push_back(timer.nsecsElapsed() / 1e6);
        count = cards.size();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    const GeneratedBook book = generateBook(Persons, 10000, 1);
    const EntryCards cards(*book.persons, *book.organisations);
    std::vector<int> rows;
    for (int row = 0; row < book.persons->rowSlots(); ++row)
        rows.push_back(row);
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.vcf");
    const int runs = 5;
    QByteArray file21;
    for (const auto &[name, version] : {std::pair{"2.1", VCardVersion::V21}, std::pair{"3.0", VCardVersion::V30},
                                        std::pair{"4.0", VCardVersion::V40}}) {
        const double exportMs = medianMs(runs, [&] { writeVCardFile(path, cards, rows, version); });
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray file = f.readAll();
        if (version == VCardVersion::V21)
            file21 = file;
        std::size_t count = 0;
        const double readMs = readingMs(runs, file, count);
        qsizetype checksum = 0;
        const double lookMs = medianMs(runs, [&] { checksum = readThroughCardObject(file); });
        std::printf("vCard %s, %zu cards, %.1f MB\n", name, count, file.size() / 1e6);
        std::printf("  %-40s %9.1f ms  (goal %.0f ms: %s)\n", "export of every entry to the file", exportMs, ExportGoalMs,
                    verdict(exportMs, ExportGoalMs));
        std::printf("  %-40s %9.1f ms  (goal %.0f ms: %s)\n", "read", readMs, ReadGoalMs, verdict(readMs, ReadGoalMs));
        std::printf("  %-40s %9.1f ms  (%lld)\n", "read and look up as the import does", lookMs,
                    static_cast<long long>(checksum));
    }

    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(file21);
    f.close();
    bench::QuietPrompter prompter;
    bench::KeepingComparer comparer;
    VCardImportOptions options;
    options.checkSameName = false;
    int imported = 0;
    const double importMs = medianMs(3, [&] {
        test::BookInMemory target(generateBook(0, 0, 1));
        imported = importVCardFile(target.edit, prompter, comparer, path, options)->entries.imported;
    });
    std::printf("vCard 2.1 import into an empty book, %d entries\n", imported);
    std::printf("  %-40s %9.1f ms  (goal %.0f ms: %s)\n", "import", importMs, ImportGoalMs, verdict(importMs, ImportGoalMs));
    return 0;
}
