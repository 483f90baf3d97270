// Writes the seed inputs of the table fuzzer: a few tables of both schemas.
#include "PersonFixture.h"

#include "data/BookGenerator.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"

#include <QDir>
#include <QFile>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    auto save = [&dir](const char *name, const qv::RecordTable &table) {
        QFile f(dir + QLatin1Char('/') + QLatin1String(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(qv::writeTableBytes(table));
    };
    qv::RecordTable fixture(qv::personFields());
    for (const auto &row : qv::test::filterFixture())
        fixture.insertRow(row);
    save("fixture", fixture);
    const qv::GeneratedBook book = qv::generateBook(40, 5, 3);
    save("persons", *book.persons);
    save("organisations", *book.organisations);
    save("empty", qv::RecordTable(qv::organisationFields()));
    return 0;
}
