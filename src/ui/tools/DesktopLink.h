#pragma once

#include <QUrl>

namespace qv {

class Prompter;

// Hands the URL to the desktop's program for it (browser, mail program,
// telephony, document viewer). When the desktop has none, says which
// program is missing; returns whether one was started.
bool openOnDesktop(const QUrl &url, Prompter &prompter);

} // namespace qv
