#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace qv {

class CsvRowLines;

// What the CSV export writes besides the rows.
struct CsvFileOptions {
    QStringList columnTitles; // a first line of titles when not empty
    bool byteOrderMark = false; // for spreadsheet programs that need it to read UTF-8
};

// Writes, in UTF-8, the row line of each person row (row ids, in order),
// each followed by CR LF. False when the device took not every byte.
bool writeCsv(QIODevice &out, const CsvRowLines &lines, const std::vector<int> &rows, const CsvFileOptions &options);

// The same into a file, through a temporary file beside it that replaces
// the file only when everything was written. Throws qv::Error "Unable to
// write to PATH" otherwise; an existing file is then left as it was.
void writeCsvFile(const QString &path, const CsvRowLines &lines, const std::vector<int> &rows, const CsvFileOptions &options);

} // namespace qv
