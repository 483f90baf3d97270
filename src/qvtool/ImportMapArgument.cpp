#include "ImportMapArgument.h"

namespace qv::tool {

namespace {

int catalogueLine(const QList<IniLine> &catalogue, const QString &name)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].key.compare(name, Qt::CaseInsensitive) == 0 || catalogue[i].value.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

std::optional<ImportFieldMapping> parseImportMap(const QString &text, const QList<IniLine> &catalogue, QString &error)
{
    ImportFieldMapping mapping{};
    for (const QString &item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        const QString name = item.left(equals).trimmed();
        const int line = catalogueLine(catalogue, name);
        if (equals < 0 || line < 0 || line >= int(mapping.size())) {
            error = QStringLiteral("no catalogue field \"%1\"").arg(name);
            return std::nullopt;
        }
        const QStringList columns = item.mid(equals + 1).split(QLatin1Char(','));
        if (columns.size() > 5) {
            error = QStringLiteral("more than five columns for %1").arg(name);
            return std::nullopt;
        }
        for (int slot = 0; slot < columns.size(); ++slot) {
            bool ok = false;
            const int column = columns[slot].trimmed().toInt(&ok);
            if (!ok || column < 1) {
                error = QStringLiteral("\"%1\" is no column number").arg(columns[slot].trimmed());
                return std::nullopt;
            }
            mapping[size_t(line)][size_t(slot)] = column;
        }
    }
    return mapping;
}

} // namespace qv::tool
