#pragma once

#include <QStringList>

namespace qv::tool {

// Runs one qvtool command; returns the process exit status.
int run(const QStringList &arguments);

} // namespace qv::tool
