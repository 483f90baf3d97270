#pragma once

#include <string_view>

namespace qv::filter {

// Whether the text holds the needle, unit for unit. Eight places of the
// text are tried at once for the needle's first and last unit, so that
// only real candidates are compared whole.
bool containsUnits(std::u16string_view text, std::u16string_view needle);

} // namespace qv::filter
