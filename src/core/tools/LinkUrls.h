#pragma once

#include <QUrl>

#include <optional>

namespace qv {

// A "tel:" URL for a number as the user typed it: spaces and "/" are
// dropped, wide digits become ASCII ones. Nothing when the text holds no
// digit or characters no phone number has.
std::optional<QUrl> telephoneUrl(const QString &number);

// The web or mail address the desktop may open for a text taken from a
// field: http, https and mailto only; an address without a scheme is an
// http one, or a mailto one when it is an e-mail address. Nothing for any other scheme (file:, javascript:, …), for paths
// and for texts that are no address.
std::optional<QUrl> webUrl(const QString &address);

} // namespace qv
