#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringDecoder>

class QIODevice;

namespace qv {

// The text of a CSV file in pieces, so that a file of any size is never held
// whole. The encoding is settled once when the source is made: a UTF-8 or
// UTF-16 byte-order mark decides; otherwise a file that is valid UTF-8
// throughout is UTF-8; otherwise the locale's legacy code page.
class CsvTextSource {
public:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Legacy };

    // Reads the device once to settle the encoding. Throws qv::Error naming
    // the file when it is empty or holds NUL bytes (not text).
    CsvTextSource(QIODevice &device, const QString &fileName, const QLocale &locale = QLocale::system());

    Encoding encoding() const { return m_encoding; }
    // The next piece of text; empty only at the end of the file.
    QString read();
    // Back to the first character after the byte-order mark.
    void rewind();

private:
    void detectEncoding();
    QString decodeLegacy(bool atEnd);

    QIODevice &m_device;
    QString m_fileName;
    QByteArray m_codePage;
    Encoding m_encoding = Encoding::Utf8;
    qint64 m_textStart = 0; // after the byte-order mark
    QStringDecoder m_decoder;
    QByteArray m_carry; // legacy bytes after the last line end, decoded with the next piece
};

} // namespace qv
