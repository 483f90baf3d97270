#pragma once

#include <QString>

namespace qv {

class Settings;

// The data directory confirmed in the Options dialog becomes the setting
// DataDir, unless it is the program directory itself (compared ignoring
// case). The directory in use changes only at the next start.
void takeDataDirectory(Settings &settings, const QString &chosen, const QString &programDir);

} // namespace qv
