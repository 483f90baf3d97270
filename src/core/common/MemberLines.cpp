#include "common/MemberLines.h"

#include "common/TextDecoding.h"

namespace qv {

QStringList memberLines(const QByteArray &bytes)
{
    // Decoded first: a UTF-16 file is full of NUL bytes that end nothing.
    QString text = decodeText(bytes);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QByteArray memberText(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

} // namespace qv
