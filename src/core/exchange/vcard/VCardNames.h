#pragma once

#include <QByteArrayView>
#include <QString>

namespace qv::vcard {

// The name in capitals as the tree holds it (vCard names ignore case). The
// names cards are made of come from one shared copy each, so that a file of
// many cards does not allocate them again for every card.
QString treeName(QByteArrayView name);

} // namespace qv::vcard
