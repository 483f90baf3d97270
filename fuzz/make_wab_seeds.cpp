// Writes the seed inputs of the .wab fuzzer: contacts with strings of both
// widths, lists and times, a deleted record and a group.
#include "WabWriter.h"

#include <QDir>
#include <QFile>

using qv::test::WabWriter;

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    WabWriter w;
    w.addRecord({1, {WabWriter::unicode(0x3001, QStringLiteral("John Paul Smith")),
                     WabWriter::unicodeList(0x3A56, {QStringLiteral("a@example.com"), QStringLiteral("b@example.com")}),
                     WabWriter::fileTime(0x3A42, QDateTime(QDate(1970, 5, 17), QTime(7, 0), Qt::UTC)),
                     WabWriter::string8(0x3A16, "Acme"), WabWriter::int32(0x0FFE, 6)}});
    w.addRecord({0, {WabWriter::unicode(0x3001, QStringLiteral("Deleted"))}});
    w.addRecord({1, {WabWriter::unicode(0x3001, QStringLiteral("Friends")), WabWriter::int32(0x0FFE, 8)}});
    QFile f(dir + QStringLiteral("/three-records"));
    if (f.open(QIODevice::WriteOnly))
        f.write(w.bytes());
    return 0;
}
