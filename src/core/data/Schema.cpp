#include "data/Schema.h"

namespace qv {

namespace {

FieldDef integer(const char *name) { return {QString::fromLatin1(name), FieldType::Integer, 0}; }
FieldDef text(const char *name, int size) { return {QString::fromLatin1(name), FieldType::Text, size}; }
FieldDef date(const char *name) { return {QString::fromLatin1(name), FieldType::Date, 0}; }
FieldDef memo(const char *name) { return {QString::fromLatin1(name), FieldType::Memo, 0}; }
FieldDef boolean(const char *name) { return {QString::fromLatin1(name), FieldType::Boolean, 0}; }

} // namespace

const QList<FieldDef> &personFields()
{
    static const QList<FieldDef> fields = {
        integer("ClientID"), text("Name", 50),   text("SurName", 30),  text("MidName", 10),
        text("GivenName", 30), text("Position", 50), text("Address", 255), text("Zip", 10),
        text("EMail", 100),  text("Phone", 100), text("Fax", 50),      text("Mobile", 30),
        text("Pager", 30),   date("Birthday"),   memo("Memo"),         date("Update"),
        integer("OrgID"),    integer("Cardtemplete"), integer("Group1"), integer("Group2"),
        integer("Group3"),   integer("Group4"),  text("ICQ", 50),      boolean("Searched"),
        text("DPhone", 80),  text("URL", 80),    boolean("Yellow"),    integer("NID"),
        text("CID", 50),
    };
    return fields;
}

const QList<FieldDef> &organisationFields()
{
    static const QList<FieldDef> fields = {
        integer("CoID"),     text("Company", 100), text("CAddress", 255), text("CZip", 10),
        text("CPhone", 100), text("CFax", 50),     text("CEMail", 100),   memo("CMemo"),
        date("CUpdate"),     text("CURL", 100),
    };
    return fields;
}

int fieldIndex(const QList<FieldDef> &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace qv
