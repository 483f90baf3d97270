#include "exchange/vcard/VCardStructure.h"

#include <QStringList>

namespace qv::vcard {

namespace {

const QStringList &nameComponents()
{
    static const QStringList names{QStringLiteral("F"), QStringLiteral("G"), QStringLiteral("ADDN"),
                                   QStringLiteral("NPRE"), QStringLiteral("NSUF")};
    return names;
}

const QStringList &addressComponents()
{
    static const QStringList names{QStringLiteral("BOX"), QStringLiteral("EXT ADD"), QStringLiteral("STREET"),
                                   QStringLiteral("L"),   QStringLiteral("R"),       QStringLiteral("PC"),
                                   QStringLiteral("C")};
    return names;
}

const QStringList &organisationComponents()
{
    static const QStringList names{QStringLiteral("ORGNAME"), QStringLiteral("OUN"), QStringLiteral("OUN2")};
    return names;
}

} // namespace

ValueKind valueKind(QStringView property)
{
    if (property == u"N" || property == u"ADR" || property == u"ORG")
        return ValueKind::Structured;
    if (property == u"URL")
        return ValueKind::Uri;
    if (property == u"FN" || property == u"TEL" || property == u"EMAIL" || property == u"NOTE" || property == u"TITLE"
        || property == u"BDAY" || property == u"VERSION")
        return ValueKind::Text;
    return ValueKind::Kept;
}

QString componentName(QStringView property, int position)
{
    if (property == u"N")
        return nameComponents().value(position);
    if (property == u"ADR")
        return addressComponents().value(position);
    if (position < organisationComponents().size())
        return organisationComponents()[position];
    return QStringLiteral("OUN") + QString::number(position);
}

int componentPosition(QStringView property, QStringView component)
{
    if (property == u"N")
        return static_cast<int>(nameComponents().indexOf(component));
    if (property == u"ADR")
        return static_cast<int>(addressComponents().indexOf(component));
    if (property != u"ORG")
        return -1;
    if (component == u"ORGNAME")
        return 0;
    if (component == u"OUN")
        return 1;
    if (!component.startsWith(u"OUN"))
        return -1;
    bool ok = false;
    const int unit = component.sliced(3).toInt(&ok);
    return ok && unit >= 2 && component.sliced(3) == QString::number(unit) ? unit : -1;
}

int fixedComponentCount(QStringView property)
{
    if (property == u"N")
        return static_cast<int>(nameComponents().size());
    if (property == u"ADR")
        return static_cast<int>(addressComponents().size());
    return 0;
}

} // namespace qv::vcard
