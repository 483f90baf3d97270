// Writes the seed inputs of the data-packet fuzzer: the tables of a small
// book as earlier installations saved them, and a packet with a change log.
#include "DataPacketWriter.h"

#include "data/BookGenerator.h"
#include "data/RecordTable.h"

#include <QDir>
#include <QFile>

using qv::test::DataPacketWriter;

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    auto save = [&dir](const char *name, const QByteArray &bytes) {
        QFile f(dir + QLatin1Char('/') + QLatin1String(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };
    const qv::GeneratedBook book = qv::generateBook(12, 3, 5);
    save("persons-gbk", qv::test::dataPacketOf(*book.persons, "GB18030", 2052));
    save("organisations-big5-locale", qv::test::dataPacketOf(*book.organisations, "GB18030", 1028));

    DataPacketWriter log;
    log.addIntegerColumn("ClientID");
    log.addStringColumn("Name", 300);
    log.addMemoColumn("Memo");
    log.addTimestampColumn("Update");
    log.addBooleanColumn("Yellow");
    log.addPacketProperty(DataPacketWriter::uint16ArrayProperty("DEFAULT_ORDER", {2}));
    log.addRow(0x01, {DataPacketWriter::integer(1), DataPacketWriter::text("A"), DataPacketWriter::text("memo"),
                      DataPacketWriter::timestamp(QDate(1890, 1, 2), 5), DataPacketWriter::boolean(0xFFFF)});
    log.addRow(0x08, {DataPacketWriter::notChanged(), DataPacketWriter::text("B"), DataPacketWriter::notChanged(),
                      DataPacketWriter::null(), DataPacketWriter::notChanged()});
    log.addRow(0x06, {DataPacketWriter::integer(2), DataPacketWriter::text("gone")});
    log.setChangeLog({2, 1, 8, 3, 0, 4, 3, 0, 2});
    save("change-log", log.bytes());
    return 0;
}
