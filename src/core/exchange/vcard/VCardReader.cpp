#include "exchange/vcard/VCardReader.h"

#include "common/TextDecoding.h"
#include "exchange/vcard/CardSplitter.h"
#include "exchange/vcard/ContentLineReader.h"
#include "exchange/vcard/FoldedUtf8.h"
#include "exchange/vcard/QuotedPrintable.h"
#include "exchange/vcard/VCardNames.h"
#include "exchange/vcard/VCardStructure.h"
#include "exchange/vcard/VCardText.h"
#include "exchange/vcard/ValueDecoder.h"

#include <string>
#include <unordered_map>

namespace qv::vcard {

namespace {

// The VERSION a card names decides how its lines fold, so it is looked up
// before the card's properties are read.
VCardVersion cardVersion(const std::vector<PhysicalLine> &lines)
{
    for (const PhysicalLine &line : lines) {
        const QByteArrayView text = line.text;
        if (text.size() > 8 && (text[0] | 0x20) == 'v' && isSameName(text.first(7), "VERSION")) {
            const QByteArrayView rest = text.sliced(7).trimmed();
            if (rest.startsWith(':'))
                return versionFromText(rest.sliced(1));
        }
    }
    return VCardVersion::V21;
}

// Parameter names and type names are ASCII words; anything else is no
// parameter we could read or write back, and is left out.
bool isParameterName(QByteArrayView name)
{
    if (name.isEmpty())
        return false;
    for (char c : name) {
        if (c < 0x20 || c > 0x7e || c == ';' || c == ':' || c == ',' || c == '"' || c == '=')
            return false;
    }
    return true;
}

bool isEncodingName(const QString &name)
{
    return name == u"QUOTED-PRINTABLE" || name == u"BASE64" || name == u"8BIT";
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.sliced(1, value.size() - 2);
    if (value.startsWith('"'))
        return value.sliced(1);
    return value;
}

// 4.0 writes a line break, a double quote and a caret in parameter values as
// ^n, ^' and ^^.
QString undoCaretEncoding(QString value)
{
    if (!value.contains(u'^'))
        return value;
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        if (value[i] == u'^' && (next == u'n' || next == u'N' || next == u'\'' || next == u'^')) {
            out.append(next == u'^' ? u'^' : next == u'\'' ? u'"' : u'\n');
            ++i;
        } else {
            out.append(value[i]);
        }
    }
    return out;
}

// Builds one property of the tree from its content line.
class PropertyBuilder {
public:
    explicit PropertyBuilder(ValueDecoder &decoder) : m_decoder(decoder) {}

    void setVersion(VCardVersion version) { m_version = version; }

    // False when the value's quoted-printable text is broken.
    bool build(const ContentLine &line, VCardObject &property);

private:
    void addParameter(const RawParameter &parameter, VCardObject &property);
    void addTypes(QByteArrayView list, VCardObject &property);
    void addEncoding(QByteArrayView encoding, VCardObject &property);
    QString parameterValue(QByteArrayView raw);
    void setValue(QString text, VCardObject &property) const;
    void setComponents(const QString &text, VCardObject &property) const;

    VCardVersion m_version = VCardVersion::V21;
    ValueDecoder &m_decoder;
    QByteArrayView m_charset;
    bool m_telephoneUri = false;
    QByteArray m_decoded; // quoted-printable decoded, its memory reused from value to value
    // Short parameter values ("UTF-8", "uri", "1") recur on every card: each
    // is decoded once and its text shared.
    std::unordered_map<std::string, QString> m_parameterValues;
};

QString PropertyBuilder::parameterValue(QByteArrayView raw)
{
    constexpr qsizetype ShortValue = 14;
    constexpr std::size_t SharedValues = 64;
    std::string key;
    if (raw.size() <= ShortValue) {
        key.assign(1, static_cast<char>(m_version));
        key.append(raw.data(), static_cast<size_t>(raw.size()));
        if (const auto found = m_parameterValues.find(key); found != m_parameterValues.end())
            return found->second;
    }
    QString value = m_decoder.decode(unquoted(raw), QByteArrayView(), false);
    value.remove(QChar(0));
    if (m_version == VCardVersion::V40)
        value = undoCaretEncoding(std::move(value));
    if (!key.empty() && m_parameterValues.size() < SharedValues)
        m_parameterValues.emplace(std::move(key), value);
    return value;
}

// TYPE=a,b, TYPE="a,b" and TYPE="a","b" all name the types a and b.
void PropertyBuilder::addTypes(QByteArrayView list, VCardObject &property)
{
    QByteArray types = list.toByteArray();
    types.removeIf([](char c) { return c == '"'; });
    for (const QByteArray &type : types.split(',')) {
        const QByteArray name = type.trimmed();
        if (isParameterName(name))
            property.addParameter(treeName(name));
    }
}

void PropertyBuilder::addEncoding(QByteArrayView encoding, VCardObject &property)
{
    const QString name = treeName(encoding);
    if (name == u"B")
        property.addParameter(treeName("BASE64"));
    else if (isEncodingName(name))
        property.addParameter(name);
    else if (name != u"7BIT")
        property.addChild(VCardObject(treeName("ENCODING"), parameterValue(encoding)));
}

// Parameters enter the tree as the card object reads them: type names
// (bare, TYPE=a,b or repeated TYPE) and encodings as children without value,
// in capitals, each once; PREF=1 as PREF; others as children with value.
void PropertyBuilder::addParameter(const RawParameter &parameter, VCardObject &property)
{
    const QByteArrayView value = unquoted(parameter.value);
    if (!isParameterName(parameter.name.isEmpty() ? value : parameter.name))
        return;
    if (parameter.name.isEmpty()) {
        const QString type = treeName(value);
        if (isEncodingName(type) || type == u"7BIT")
            addEncoding(value, property);
        else
            property.addParameter(type);
        return;
    }
    const QString name = treeName(parameter.name);
    if (name == u"TYPE") {
        addTypes(parameter.value, property);
    } else if (name == u"ENCODING") {
        addEncoding(value, property);
    } else if (name == u"CHARSET") {
        m_charset = value;
        property.addChild(VCardObject(name, parameterValue(value)));
    } else if (name == u"PREF" && value.trimmed() == "1") {
        property.addParameter(name);
    } else if (name == u"VALUE" && isSameName(value, "uri") && property.name() == u"TEL") {
        m_telephoneUri = true;
    } else if (componentPosition(property.name(), name) < 0) {
        // A parameter named like a component of the value would be taken for it.
        property.addChild(VCardObject(name, parameterValue(parameter.value)));
    }
}

// Splits at the semicolons no backslash escapes. Components beyond those
// the property has stay in its last one, separators and all.
void PropertyBuilder::setComponents(const QString &text, VCardObject &property) const
{
    const int fixed = fixedComponentCount(property.name());
    qsizetype start = 0;
    for (int position = 0;; ++position) {
        qsizetype end = text.size();
        if (fixed == 0 || position < fixed - 1) {
            end = start;
            while (end < text.size() && text[end] != u';')
                end += text[end] == u'\\' ? 2 : 1;
            end = std::min(end, text.size());
        }
        QString component = normaliseLineBreaks(unescapeText(text.sliced(start, end - start), m_version));
        if (!component.isEmpty())
            property.addChild(VCardObject(componentName(property.name(), position), std::move(component)));
        if (end >= text.size())
            return;
        start = end + 1;
    }
}

void PropertyBuilder::setValue(QString text, VCardObject &property) const
{
    switch (valueKind(property.name())) {
    case ValueKind::Structured:
        setComponents(text, property);
        return;
    case ValueKind::Kept:
        property.setValue(std::move(text));
        return;
    case ValueKind::Text:
    case ValueKind::Uri:
        break;
    }
    QString value = normaliseLineBreaks(unescapeText(std::move(text), m_version));
    if (m_telephoneUri) {
        // A tel: URI holds the number; any other URI is kept as the card gives it.
        if (value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
            value.remove(0, 4);
        else
            property.addChild(VCardObject(treeName("VALUE"), QStringLiteral("uri")));
    }
    property.setValue(std::move(value));
}

bool PropertyBuilder::build(const ContentLine &line, VCardObject &property)
{
    property = VCardObject(treeName(line.name));
    if (!line.group.isEmpty())
        property.setGroup(QString::fromLatin1(line.group));
    m_charset = QByteArrayView();
    m_telephoneUri = false;
    property.reserveChildren(line.parameters.size() + fixedComponentCount(property.name()));
    for (const RawParameter &parameter : line.parameters)
        addParameter(parameter, property);

    if (line.base64) {
        // Kept undecoded, as nothing we read needs the bytes; what is not of
        // the base64 alphabet (blanks of folding, stray bytes) is left out.
        QByteArray compact = line.value.toByteArray();
        compact.removeIf([](char c) {
            const bool alphabet = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                || c == '+' || c == '/' || c == '=';
            return !alphabet;
        });
        property.setValue(QString::fromLatin1(compact));
        return true;
    }
    QByteArrayView bytes = line.value;
    if (line.quotedPrintable) {
        // A soft line break on the card's last line leaves an "=" at the end: broken too.
        if (!decodeQuotedPrintable(bytes, m_decoded))
            return false;
        bytes = m_decoded;
    }
    QString text = m_decoder.decode(bytes, m_charset, line.quotedPrintable);
    if (text.contains(QChar(0)))
        text.remove(QChar(0)); // a NUL means nothing in a contact and would cut the text short elsewhere
    setValue(std::move(text), property);
    return true;
}

void readCard(const CardLines &lines, PropertyBuilder &builder, ReadCard &result)
{
    const VCardVersion version = cardVersion(lines.lines);
    ContentLineReader reader(lines.lines, version);
    builder.setVersion(version);
    ContentLine line;
    VCardObject property;
    result.card = VCardObject(treeName("VCARD"));
    result.card.reserveChildren(lines.lines.size());
    while (reader.next(line)) {
        if (isSameName(line.name, "BEGIN") || isSameName(line.name, "END"))
            continue;
        if (!builder.build(line, property)) {
            result.fault = CardFault::BadQuotedPrintable;
            result.faultLine = line.number;
            result.card = VCardObject();
            return;
        }
        result.card.addChild(std::move(property));
    }
}

} // namespace

std::vector<ReadCard> readVCards(QByteArrayView file, const QLocale &locale)
{
    QByteArray converted;
    bool fromUtf16 = false;
    bool utf8 = true;
    if (file.startsWith("\xEF\xBB\xBF")) {
        file = file.sliced(3);
    } else if (file.startsWith("\xFF\xFE") || file.startsWith("\xFE\xFF")) {
        converted = decodeText(file.toByteArray(), locale).toUtf8();
        file = converted;
        fromUtf16 = true;
    } else {
        utf8 = isUtf8AcrossFolds(file);
    }
    ValueDecoder decoder(utf8, fromUtf16, legacyCodePage(locale));
    PropertyBuilder builder(decoder);

    std::vector<ReadCard> cards;
    CardSplitter splitter(file);
    CardLines lines;
    while (splitter.next(lines)) {
        ReadCard &card = cards.emplace_back();
        card.beginLine = lines.beginLine;
        if (!lines.terminated) {
            card.fault = CardFault::Unterminated;
            card.faultLine = lines.beginLine;
            continue;
        }
        readCard(lines, builder, card);
    }
    return cards;
}

QString cardFaultText(CardFault fault)
{
    switch (fault) {
    case CardFault::None:
        return QString();
    case CardFault::Unterminated:
        return QStringLiteral("END:VCARD is missing");
    case CardFault::BadQuotedPrintable:
        return QStringLiteral("its quoted-printable text is broken");
    }
    return QString();
}

} // namespace qv::vcard
