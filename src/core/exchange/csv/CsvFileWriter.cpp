#include "exchange/csv/CsvFileWriter.h"

#include "common/Error.h"
#include "exchange/csv/CsvRowLines.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <deque>
#include <functional>
#include <future>
#include <thread>

namespace qv {

namespace {

constexpr size_t kBlockRows = 4096;

// The row lines of a block of rows, each with its CR LF, in UTF-8.
QByteArray blockBytes(const CsvRowLines &lines, const int *rows, size_t count)
{
    QString text;
    text.reserve(qsizetype(count) * 160);
    for (size_t i = 0; i < count; ++i) {
        lines.appendRowLine(text, rows[i]);
        text += QLatin1String("\r\n");
    }
    return text.toUtf8();
}

} // namespace

bool writeCsv(QIODevice &out, const CsvRowLines &lines, const std::vector<int> &rows, const CsvFileOptions &options)
{
    if (options.byteOrderMark && out.write("\xEF\xBB\xBF", 3) != 3)
        return false;
    if (!options.columnTitles.isEmpty()) {
        const QByteArray titles = (CsvRowLines::titleLine(options.columnTitles) + QLatin1String("\r\n")).toUtf8();
        if (out.write(titles) != titles.size())
            return false;
    }
    // Blocks of rows are turned into text on several threads at once (the
    // row lines only read the tables) and written in order; a few blocks
    // ahead at most, so that memory stays small.
    const size_t ahead = 2 * std::max(1u, std::thread::hardware_concurrency());
    std::deque<std::future<QByteArray>> blocks;
    size_t next = 0;
    while (next < rows.size() || !blocks.empty()) {
        while (next < rows.size() && blocks.size() < ahead) {
            const size_t count = std::min(kBlockRows, rows.size() - next);
            blocks.push_back(std::async(std::launch::async, blockBytes, std::cref(lines), rows.data() + next, count));
            next += count;
        }
        const QByteArray bytes = blocks.front().get();
        blocks.pop_front();
        if (out.write(bytes) != bytes.size())
            return false;
    }
    return true;
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
