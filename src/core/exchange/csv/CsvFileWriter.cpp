#include "exchange/csv/CsvFileWriter.h"

#include "common/Error.h"
#include "exchange/csv/CsvRowLines.h"

#include <QDir>
#include <QSaveFile>

namespace qv {

namespace {

constexpr qsizetype kFlushSize = 256 * 1024;

bool flush(QIODevice &out, QString &text)
{
    const QByteArray bytes = text.toUtf8();
    text.clear();
    return out.write(bytes) == bytes.size();
}

} // namespace

bool writeCsv(QIODevice &out, const CsvRowLines &lines, const std::vector<int> &rows, const CsvFileOptions &options)
{
    if (options.byteOrderMark && out.write("\xEF\xBB\xBF", 3) != 3)
        return false;
    QString text;
    text.reserve(kFlushSize + 4096);
    if (!options.columnTitles.isEmpty())
        text += CsvRowLines::titleLine(options.columnTitles) + QLatin1String("\r\n");
    for (int row : rows) {
        lines.appendRowLine(text, row);
        text += QLatin1String("\r\n");
        if (text.size() >= kFlushSize && !flush(out, text))
            return false;
    }
    return flush(out, text);
}

void writeCsvFile(const QString &path, const CsvRowLines &lines, const std::vector<int> &rows, const CsvFileOptions &options)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeCsv(file, lines, rows, options) || !file.commit()) {
        file.cancelWriting();
        throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace qv
