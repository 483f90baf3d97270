#include "exchange/csv/CsvValue.h"

namespace qv {

namespace {

bool needsQuotes(QStringView value)
{
    // At the start of a file a leading U+FEFF would read as the byte-order mark.
    if (value.startsWith(QChar(0xFEFF)))
        return true;
    for (QChar c : value) {
        // Character 26 too: at the start of a line older readers take it for the end of the file.
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n' || c == QChar(26))
            return true;
    }
    return false;
}

} // namespace

void appendCsvValue(QString &line, QStringView value, bool alwaysQuote)
{
    if (!alwaysQuote && !needsQuotes(value)) {
        line += value;
        line += u',';
        return;
    }
    line += u'"';
    qsizetype start = 0;
    for (qsizetype quote = value.indexOf(u'"'); quote >= 0; quote = value.indexOf(u'"', start)) {
        line += value.mid(start, quote + 1 - start);
        line += u'"';
        start = quote + 1;
    }
    line += value.mid(start);
    line += QLatin1String("\",");
}

} // namespace qv
