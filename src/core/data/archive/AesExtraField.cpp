#include "data/archive/AesExtraField.h"

#include "data/archive/AesCipher.h"

namespace qv::archive {

namespace {

constexpr std::uint16_t kVendorId = 0x4541; // "AE"
constexpr std::uint16_t kDataSize = 7;

} // namespace

std::optional<AesExtraField> AesExtraField::find(const QByteArray &extraFields)
{
    const std::optional<QByteArray> data = extraField(extraFields, kId);
    if (!data || data->size() != kDataSize)
        return std::nullopt;
    ByteReader r(*data);
    AesExtraField field;
    field.vendorVersion = r.u16();
    const std::uint16_t vendor = r.u16();
    field.strength = static_cast<unsigned char>(r.bytes(1).at(0));
    field.method = r.u16();
    if (vendor != kVendorId || (field.vendorVersion != kAe1 && field.vendorVersion != kAe2)
        || !AesCipher::validStrength(field.strength))
        return std::nullopt;
    return field;
}

QByteArray AesExtraField::encoded() const
{
    QByteArray out;
    appendU16(out, kId);
    appendU16(out, kDataSize);
    appendU16(out, vendorVersion);
    appendU16(out, kVendorId);
    out.append(static_cast<char>(strength));
    appendU16(out, method);
    return out;
}

} // namespace qv::archive
