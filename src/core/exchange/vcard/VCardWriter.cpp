#include "exchange/vcard/VCardWriter.h"

#include "exchange/vcard/QuotedPrintable.h"
#include "exchange/vcard/VCardDate.h"
#include "exchange/vcard/VCardStructure.h"
#include "exchange/vcard/VCardText.h"

#include <QStringList>

namespace qv::vcard {

namespace {

constexpr qsizetype LineLength = 75;

bool isEncodingName(QStringView name)
{
    return name == u"QUOTED-PRINTABLE" || name == u"BASE64" || name == u"8BIT" || name == u"7BIT";
}

bool isPlainAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80 || static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

// The parts of a property the writer lays out by version.
struct PropertyParts {
    QStringList types;                           // parameters without value, in tree order
    QList<std::pair<QString, QString>> valued;   // parameters with value
    QString value;                               // escaped for the version where the value is text
    bool base64 = false;
    bool quotedPrintable = false;                // marked so in the tree
};

QString structuredValue(const VCardObject &property, VCardVersion version)
{
    const int fixed = fixedComponentCount(property.name());
    QStringList components(fixed);
    for (const VCardObject &child : property.children()) {
        const int position = componentPosition(property.name(), child.name());
        if (position < 0 || !child.hasValue())
            continue;
        if (position >= components.size())
            components.resize(position + 1);
        if (components[position].isEmpty())
            components[position] = escapeText(child.value(), version, true);
    }
    return components.join(u';');
}

QString textValue(const VCardObject &property, VCardVersion version)
{
    QString value = property.value();
    if (property.name() == u"BDAY" && version == VCardVersion::V40) {
        // 4.0 dates have no hyphens.
        const auto date = readVCardDate(value);
        if (date && date->hasYear() && value.size() == 10)
            value = date->toDate().toString(u"yyyyMMdd");
    }
    return escapeText(value, version, false);
}

PropertyParts partsOf(const VCardObject &property, VCardVersion version)
{
    PropertyParts parts;
    const bool structured = valueKind(property.name()) == ValueKind::Structured;
    for (const VCardObject &child : property.children()) {
        if (!child.hasValue()) {
            if (child.name() == u"BASE64")
                parts.base64 = true;
            else if (child.name() == u"QUOTED-PRINTABLE")
                parts.quotedPrintable = true;
            else if (!isEncodingName(child.name()))
                parts.types.append(child.name());
        } else if (child.name() != u"CHARSET" && child.name() != u"ENCODING"
                   && !(structured && componentPosition(property.name(), child.name()) >= 0)) {
            // The writer gives the text its own code page and encoding.
            parts.valued.append({child.name(), child.value()});
        }
    }
    if (parts.base64)
        parts.value = property.value();
    else if (structured)
        parts.value = structuredValue(property, version);
    else if (valueKind(property.name()) == ValueKind::Text)
        parts.value = textValue(property, version);
    else
        parts.value = property.value();
    return parts;
}

// Names are ASCII: the reader takes no others.
QByteArray propertyName(const VCardObject &property)
{
    QByteArray name;
    if (!property.group().isEmpty())
        name = property.group().toLatin1() + '.';
    return name + property.name().toLatin1();
}

// Line breaks cannot stand in a header, nor the characters that end its parts.
QString sanitisedParameterValue(QString value, QStringView forbidden)
{
    value.removeIf([&](QChar c) { return c == u'\r' || c == u'\n' || forbidden.contains(c); });
    return value;
}

// 2.1: parameters bare or NAME=value. The value goes quoted-printable when
// it is not plain ASCII, when the tree marks it so, or when it does not fit
// on the line, since 2.1 folds only at blanks it keeps.
class Writer21 {
public:
    explicit Writer21(QByteArray &out) : m_out(out) {}

    void write(const VCardObject &property)
    {
        const PropertyParts parts = partsOf(property, VCardVersion::V21);
        m_lineStart = m_out.size();
        m_out.append(propertyName(property));
        for (const QString &type : parts.types)
            appendHeaderPiece(';' + type.toLatin1());
        for (const auto &[name, value] : parts.valued)
            appendHeaderPiece(';' + name.toLatin1() + '=' + sanitisedParameterValue(value, u";:\"").toUtf8());
        if (parts.base64) {
            writeBase64(parts.value.toLatin1());
            return;
        }
        QByteArray value = parts.value.toUtf8();
        const bool ascii = isPlainAscii(value);
        const bool fits = currentLineLength() + 1 + value.size() <= LineLength;
        if (ascii && fits && !parts.quotedPrintable) {
            m_out.append(':').append(value).append("\r\n");
            return;
        }
        // Line breaks travel as CR LF, the form 2.1 readers expect.
        value.replace("\r\n", "\n").replace("\n", "\r\n");
        if (!isAsciiText(value))
            appendHeaderPiece(";CHARSET=UTF-8");
        appendHeaderPiece(";ENCODING=QUOTED-PRINTABLE");
        m_out.append(':');
        appendQuotedPrintable(m_out, value, currentLineLength(), LineLength);
        m_out.append("\r\n");
    }

private:
    static bool isAsciiText(QByteArrayView bytes)
    {
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        }
        return true;
    }

    qsizetype currentLineLength() const { return m_out.size() - m_lineStart; }

    void appendHeaderPiece(const QByteArray &piece)
    {
        if (currentLineLength() + piece.size() >= LineLength) {
            m_out.append("\r\n ");
            m_lineStart = m_out.size() - 1;
        }
        m_out.append(piece);
    }

    // Base64 begins on the next line, indented, and ends with an empty line.
    void writeBase64(const QByteArray &data)
    {
        appendHeaderPiece(";ENCODING=BASE64");
        m_out.append(":\r\n");
        for (qsizetype i = 0; i < data.size(); i += LineLength - 1)
            m_out.append(' ').append(data.mid(i, LineLength - 1)).append("\r\n");
        m_out.append("\r\n");
    }

    QByteArray &m_out;
    qsizetype m_lineStart = 0;
};

// The media type of a data: URI from the image type the tree names, which
// then needs no TYPE of its own.
QString mediaTypeOf(QStringList &types)
{
    for (const QString &image : {QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("GIF")}) {
        if (types.removeOne(image))
            return QStringLiteral("image/") + image.toLower();
    }
    return QStringLiteral("application/octet-stream");
}

QString quotedParameterValue(const QString &value, VCardVersion version)
{
    QString v = value;
    if (version == VCardVersion::V40) {
        v.replace(u'^', QLatin1String("^^")).replace(u'"', QLatin1String("^'"));
        v.replace(QLatin1String("\r\n"), QLatin1String("^n")).replace(u'\n', QLatin1String("^n"));
        v.remove(u'\r');
    } else {
        v = sanitisedParameterValue(v, u"\"");
    }
    if (v.contains(u';') || v.contains(u':') || v.contains(u','))
        return u'"' + v + u'"';
    return v;
}

// Cuts a line into pieces of at most 75 octets, each after the first
// indented by one blank, never inside a UTF-8 sequence.
void appendFolded(QByteArray &out, QByteArrayView line)
{
    qsizetype pos = 0;
    qsizetype room = LineLength;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.sliced(pos, cut - pos)).append("\r\n ");
        pos = cut;
        room = LineLength - 1;
    }
    out.append(line.sliced(pos)).append("\r\n");
}

// 3.0 and 4.0: TYPE= lists, escapes, folding; 4.0 gives preference as PREF=1
// and binary data as a data: URI.
void writeModern(QByteArray &out, const VCardObject &property, VCardVersion version)
{
    PropertyParts parts = partsOf(property, version);
    const bool v4 = version == VCardVersion::V40;
    QString value = parts.value;
    if (parts.base64 && v4)
        value = QStringLiteral("data:") + mediaTypeOf(parts.types) + QStringLiteral(";base64,") + value;
    else if (!parts.base64)
        value.replace(QLatin1String("\r\n"), QLatin1String("\\n")).replace(u'\n', QLatin1String("\\n")).remove(u'\r');

    QByteArray line = propertyName(property);
    if (v4 && parts.types.removeAll(QStringLiteral("PREF")) > 0)
        line.append(";PREF=1");
    if (!parts.types.isEmpty()) {
        const QString list = parts.types.join(u',');
        line.append(";TYPE=").append((v4 ? list.toLower() : list).toLatin1());
    }
    if (parts.base64 && !v4)
        line.append(";ENCODING=b");
    for (const auto &[name, parameterValue] : parts.valued)
        line.append(';').append(name.toLatin1()).append('=').append(quotedParameterValue(parameterValue, version).toUtf8());
    line.append(':').append(value.toUtf8());
    appendFolded(out, line);
}

} // namespace

void appendVCard(QByteArray &out, const VCardObject &card, VCardVersion version)
{
    out.append("BEGIN:VCARD\r\nVERSION:").append(versionText(version)).append("\r\n");
    const bool modern = version != VCardVersion::V21;
    if (modern && !card.firstChild(u"FN"))
        out.append("FN:\r\n");
    if (version == VCardVersion::V30 && !card.firstChild(u"N"))
        out.append("N:;;;;\r\n");
    Writer21 writer21(out);
    for (const VCardObject &property : card.children()) {
        if (property.name() == u"VERSION" || property.name() == u"BEGIN" || property.name() == u"END")
            continue;
        if (modern)
            writeModern(out, property, version);
        else
            writer21.write(property);
    }
    out.append("END:VCARD\r\n");
}

} // namespace qv::vcard
