// Times the two readers of files from earlier programs against our own
// table reader: the person table of a generated book of 20,000 entries as a
// data packet in GBK, and a .wab file of 5,000 contacts.
#include "BenchTiming.h"
#include "DataPacketWriter.h"
#include "WabWriter.h"

#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/legacy/DataPacketTable.h"
#include "exchange/wab/WabContacts.h"

#include <QCoreApplication>

#include <cstdio>

using namespace qv;
using qv::bench::medianMs;

namespace {

QByteArray wabOf(const RecordTable &persons, int contacts)
{
    test::WabWriter writer;
    const int name = persons.fieldIndex(QStringLiteral("Name"));
    const int email = persons.fieldIndex(QStringLiteral("EMail"));
    const int memo = persons.fieldIndex(QStringLiteral("Memo"));
    for (int row = 0; row < contacts; ++row) {
        writer.addRecord({1, {test::WabWriter::unicode(0x3001, valueText(persons.value(row, name))),
                              test::WabWriter::unicode(0x3003, valueText(persons.value(row, email))),
                              test::WabWriter::unicodeList(0x3A56, {QStringLiteral("a@example.com"), QStringLiteral("b@example.com")}),
                              test::WabWriter::unicode(0x3004, valueText(persons.value(row, memo))),
                              test::WabWriter::fileTime(0x3A42, QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC))}});
    }
    return writer.bytes();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    const GeneratedBook book = generateBook(20000, 2000, 11);
    const QByteArray ours = writeTableBytes(*book.persons);
    const QByteArray packet = test::dataPacketOf(*book.persons, "GB18030", 2052);
    const QByteArray wab = wabOf(*book.persons, 5000);
    std::printf("%-52s %9.2f ms  (%lld bytes)\n", "person table, our form (20,000 rows)",
                medianMs(runs, [&] { readTableBytes(ours); }), static_cast<long long>(ours.size()));
    std::printf("%-52s %9.2f ms  (%lld bytes)\n", "person table, data packet in GBK (20,000 rows)",
                medianMs(runs, [&] { legacy::readDataPacketTable(packet); }), static_cast<long long>(packet.size()));
    std::printf("%-52s %9.2f ms  (%lld bytes)\n", ".wab file (5,000 contacts)",
                medianMs(runs, [&] { wab::readWabContacts(wab); }), static_cast<long long>(wab.size()));
    return 0;
}
