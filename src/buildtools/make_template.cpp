// Builds a template package from its text sources: make_template SOURCE_DIR PACKAGE.
// The package is the same byte for byte on every build.
#include "common/MemberLines.h"
#include "data/RecordTable.h"
#include "data/Schema.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"
#include "data/CategoryForest.h"

#include <QFile>

#include <cstdio>

namespace {

QByteArray readSource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_template: cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return f.readAll();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_template SOURCE_DIR PACKAGE\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QDateTime stamp(QDate(2026, 1, 1), QTime(0, 0));
    try {
        // Parsed, so that a broken source fails the build instead of the program.
        const qv::CategoryForest tree = qv::CategoryForest::read(readSource(source + "tree.txt"), readSource(source + "treeno.txt"));
        const QStringList surnames = qv::memberLines(readSource(source + "surname.txt"));

        qv::RecordTable persons(qv::personFields());
        qv::RecordTable organisations(qv::organisationFields());
        std::vector<qv::Value> defaultOrganisation(size_t(qv::organisationFields().size()));
        defaultOrganisation[0] = qint32(0);
        organisations.insertRow(defaultOrganisation);

        const QList<qv::archive::PackMember> members = {
            {QStringLiteral("Agents.dbf"), qv::writeTableBytes(organisations), stamp},
            {QStringLiteral("Names.dbf"), qv::writeTableBytes(persons), stamp},
            {QStringLiteral("surname.dff"), qv::memberText(surnames), stamp},
            {QStringLiteral("tree.dff"), tree.treeFile(), stamp},
            {QStringLiteral("treeno.dff"), tree.numberFile(), stamp},
        };
        QFile out(QString::fromLocal8Bit(argv[2]));
        if (!out.open(QIODevice::WriteOnly) || out.write(qv::archive::buildArchive(members, QString())) < 0) {
            std::fprintf(stderr, "make_template: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_template: %s\n", e.what());
        return 1;
    }
    return 0;
}
