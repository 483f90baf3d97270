#pragma once

#include "exchange/csv/CsvTextSource.h"

#include <QStringList>

namespace qv {

// The records of a CSV file, one at a time. A line ends at LF, CR LF or a
// lone CR; blank lines are skipped; a comma at the end of a record opens no
// further value. A value that begins with a double quote runs to its closing
// quote, across line ends (kept as the file has them), with "" standing for
// one double quote. A character 26 at the start of a record ends the file,
// as older programs wrote it.
class CsvReader {
public:
    static constexpr int kMaxValues = 10000;
    static constexpr qsizetype kMaxLineLength = 1024 * 1024;

    // Throws qv::Error when the file is empty or not text.
    CsvReader(QIODevice &device, const QString &fileName, const QLocale &locale = QLocale::system());

    CsvTextSource::Encoding encoding() const { return m_source.encoding(); }
    // True when no record is left.
    bool atEnd();
    // The next record's values. Throws qv::Error, naming the line, for a
    // record of more than kMaxValues values or a line longer than
    // kMaxLineLength characters; the reader is then at the end.
    QStringList readRecord();
    // Back to the first record.
    void rewind();
    // The line on which the last record read began, counting from 1.
    int recordLine() const { return m_recordLine; }

private:
    bool fill();
    bool skipBlankLines();
    // Counts a line end; true when it was CR LF, the LF now taken too.
    bool endLine(QChar c);
    void countCharacter();
    [[noreturn]] void refuse(const QString &what);

    CsvTextSource m_source;
    QString m_fileName;
    QString m_text;
    qsizetype m_pos = 0;
    bool m_end = false;
    int m_line = 1;
    int m_recordLine = 0;
    qsizetype m_lineLength = 0;
};

} // namespace qv
