#pragma once

#include <QByteArrayView>
#include <QString>

namespace qv::vcard {

// The name in capitals as the tree holds it (vCard names ignore case). The
// names cards are made of come from one shared copy each, so that a file of
// many cards does not allocate them again for every card.
QString treeName(QByteArrayView name);

// Whether two names are the same but for the case of their letters.
inline bool isSameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace qv::vcard
