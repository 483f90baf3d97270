// Times the vCard module on a file of 100,000 cards, one for each person of
// the generated book with the fields the export writes (names, birthday,
// position, the person's and the organisation's telephones, e-mails,
// addresses and memos): building and writing the cards in each version,
// and reading them back, with and without the card object's look-ups.
// The goal is to read the 2.1 file in under 0.5 s.
#include "BenchTiming.h"

#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardFlags.h"
#include "exchange/vcard/VCardReader.h"
#include "exchange/vcard/VCardWriter.h"

#include <QHash>

#include <cstdio>

using namespace qv;
using namespace qv::vcard;
using qv::bench::medianMs;

namespace {

constexpr int Persons = 100000;
constexpr double ReadGoalMs = 500;

QString text(const RecordTable &table, int row, const char *field)
{
    return valueText(table.value(row, table.fieldIndex(QString::fromLatin1(field))));
}

// The card the export builds for a person and its organisation.
VCard personCard(const RecordTable &persons, int row, const RecordTable &organisations, int organisationRow)
{
    VCard card;
    card.setFamilyName(text(persons, row, "SurName"));
    card.setGivenName(text(persons, row, "GivenName"));
    card.setAdditionalNames(text(persons, row, "MidName"));
    card.setFormattedName(text(persons, row, "Name"));
    const Value birthday = persons.value(row, persons.fieldIndex(QStringLiteral("Birthday")));
    if (std::holds_alternative<QDate>(birthday))
        card.setBirthday(std::get<QDate>(birthday));
    card.setTitle(text(persons, row, "Position"));
    card.addTelephone(text(persons, row, "Phone"), TypeFlag::Home);
    card.addTelephone(text(persons, row, "Mobile"), TypeFlag::Cell);
    card.addTelephone(text(persons, row, "Fax"), TypeFlag::Home | TypeFlag::Fax);
    card.addEmail(text(persons, row, "EMail"), NoEmailType, TypeFlag::Home);
    PostalAddress home;
    home.street = text(persons, row, "Address");
    home.postalCode = text(persons, row, "Zip");
    card.addAddress(home, AddressFlag::Home | AddressFlag::QuotedPrintable);
    card.addNote(text(persons, row, "Memo"), NoteFlag::Home | NoteFlag::QuotedPrintable);
    if (organisationRow >= 0) {
        card.setOrganisation(text(organisations, organisationRow, "Company"), QString(), QString());
        PostalAddress work;
        work.street = text(organisations, organisationRow, "CAddress");
        work.postalCode = text(organisations, organisationRow, "CZip");
        card.addAddress(work, AddressFlag::Work | AddressFlag::QuotedPrintable);
        card.addTelephone(text(organisations, organisationRow, "CPhone"), TypeFlag::Work);
        card.addEmail(text(organisations, organisationRow, "CEMail"), NoEmailType, TypeFlag::Work);
    }
    return card;
}

std::vector<VCard> buildCards()
{
    const GeneratedBook book = generateBook(Persons, 10000, 1);
    QHash<int, int> organisationRows;
    const int coId = book.organisations->fieldIndex(QStringLiteral("CoID"));
    for (int row = 0; row < book.organisations->rowSlots(); ++row)
        organisationRows.insert(std::get<qint32>(book.organisations->value(row, coId)), row);
    const int orgId = book.persons->fieldIndex(QStringLiteral("OrgID"));
    std::vector<VCard> cards;
    for (int row = 0; row < book.persons->rowSlots(); ++row) {
        const int organisation = std::get<qint32>(book.persons->value(row, orgId));
        cards.push_back(personCard(*book.persons, row, *book.organisations, organisationRows.value(organisation, -1)));
    }
    return cards;
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
    const std::vector<VCard> cards = buildCards();
    const int runs = 5;
    for (const auto &[name, version] : {std::pair{"2.1", VCardVersion::V21}, std::pair{"3.0", VCardVersion::V30},
                                        std::pair{"4.0", VCardVersion::V40}}) {
        QByteArray file;
        const double writeMs = medianMs(runs, [&] {
            file.clear();
            for (const VCard &card : cards)
                appendVCard(file, card.object(), version);
        });
        std::size_t count = 0;
        const double readMs = readingMs(runs, file, count);
        qsizetype checksum = 0;
        const double lookMs = medianMs(runs, [&] { checksum = readThroughCardObject(file); });
        std::printf("vCard %s, %zu cards, %.1f MB\n", name, count, file.size() / 1e6);
        std::printf("  %-40s %9.1f ms\n", "write", writeMs);
        std::printf("  %-40s %9.1f ms  (goal %.0f ms: %s)\n", "read", readMs, ReadGoalMs,
                    readMs < ReadGoalMs ? "met" : "MISSED");
        std::printf("  %-40s %9.1f ms  (%lld)\n", "read and look up as the import does", lookMs,
                    static_cast<long long>(checksum));
    }
    return 0;
}
