// Feeds any bytes to the CSV reader as a file: every record is read, the
// reader rewound and read again, and each value written back as a CSV value
// and read once more must come back unchanged.
#include "common/Error.h"
#include "exchange/csv/CsvReader.h"
#include "exchange/csv/CsvValue.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QList<QStringList> readAll(qv::CsvReader &reader)
{
    QList<QStringList> records;
    try {
        while (!reader.atEnd())
            records << reader.readRecord();
    } catch (const qv::Error &) {
        // A refused record ends the reading; the reader is then at its end.
    }
    return records;
}

void checkValueRoundTrip(const QString &value)
{
    // Unpaired surrogates of a UTF-16 file have no UTF-8 form to write.
    if (!value.isValidUtf16())
        return;
    QString line;
    qv::appendCsvValue(line, value);
    QBuffer device;
    device.setData(line.toUtf8());
    device.open(QIODevice::ReadOnly);
    qv::CsvReader reader(device, QStringLiteral("value.csv"));
    const QStringList back = reader.readRecord();
    // A blank value of line ends only is the one a reader skips as blank lines.
    if (back != QStringList{value} && !value.trimmed().isEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer device;
    device.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    device.open(QIODevice::ReadOnly);
    try {
        qv::CsvReader reader(device, QStringLiteral("fuzz.csv"));
        const QList<QStringList> first = readAll(reader);
        reader.rewind();
        if (readAll(reader) != first)
            std::abort();
        for (const QStringList &record : first) {
            for (const QString &value : record.mid(0, 4))
                checkValueRoundTrip(value);
        }
    } catch (const qv::Error &) {
        // Empty or not text: refused before any record.
    }
    return 0;
}
