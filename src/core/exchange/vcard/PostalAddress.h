#pragma once

#include <QString>

namespace qv::vcard {

// The components of an ADR property.
struct PostalAddress {
    QString box;      // BOX
    QString extended; // EXT ADD
    QString street;   // STREET
    QString locality; // L
    QString region;   // R
    QString postalCode; // PC
    QString country;  // C

    bool isEmpty() const
    {
        return box.isEmpty() && extended.isEmpty() && street.isEmpty() && locality.isEmpty() && region.isEmpty()
            && postalCode.isEmpty() && country.isEmpty();
    }
    bool operator==(const PostalAddress &) const = default;
};

} // namespace qv::vcard
