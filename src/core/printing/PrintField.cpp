#include "printing/PrintField.h"

namespace qv {

namespace {

struct FieldNames {
    const char *code;
    const char *column;
};

constexpr std::array<FieldNames, kPrintFieldCount> kNames = {{
    {"Name", "Name"},         {"Position", "Position"}, {"Address", "Address"},   {"Zip", "Zip"},
    {"Phone", "Phone"},       {"Fax", "Fax"},           {"Pager", "Pager"},       {"Mobile", "Mobile"},
    {"Email", "EMail"},       {"DPhone", "DPhone"},     {"Agent", "Company"},     {"CAddress", "CAddress"},
    {"CZip", "CZip"},         {"CPhone", "CPhone"},     {"CFax", "CFax"},         {"CEmail", "CEMail"},
}};

} // namespace

QString printFieldCode(PrintField field)
{
    return QString::fromLatin1(kNames[size_t(field)].code);
}

QString printFieldColumn(PrintField field)
{
    return QString::fromLatin1(kNames[size_t(field)].column);
}

bool isOrganisationField(PrintField field)
{
    return field >= PrintField::Agent;
}

} // namespace qv
