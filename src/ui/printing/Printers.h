#pragma once

namespace qv {

// Whether the system has a printer installed.
bool printerInstalled();

} // namespace qv
