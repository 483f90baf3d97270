#pragma once

#include <QString>

namespace qv {

// The project's web site, named by the Help menu and the About box.
inline QString homePageUrl()
{
    return QStringLiteral("https://quorvel.example");
}

} // namespace qv
