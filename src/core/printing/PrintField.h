#pragma once

#include <QString>

#include <array>

namespace qv {

// The sixteen fields a print template gives a font, in the order of their
// template key codes.
enum class PrintField {
    Name, Position, Address, Zip, Phone, Fax, Pager, Mobile, Email, DPhone,
    Agent, CAddress, CZip, CPhone, CFax, CEmail,
};

constexpr int kPrintFieldCount = 16;

constexpr std::array<PrintField, kPrintFieldCount> allPrintFields()
{
    std::array<PrintField, kPrintFieldCount> fields{};
    for (int i = 0; i < kPrintFieldCount; ++i)
        fields[size_t(i)] = PrintField(i);
    return fields;
}

// The code in the template's keys: "Name", "Agent", "CEmail" ...
QString printFieldCode(PrintField field);
// The table field it shows: "Name", "Company", "CEMail" ...
QString printFieldColumn(PrintField field);
// Whether the field belongs to the organisation table.
bool isOrganisationField(PrintField field);

} // namespace qv
