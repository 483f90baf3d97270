#pragma once

#include "common/Error.h"

namespace qv {

// An error of the record store: a table file that cannot be read, a field
// that does not exist, an operation the view's state does not allow.
class DatabaseError : public Error {
public:
    using Error::Error;
    // The kind of error, as the lifecycle names it in its messages.
    static QString kindName() { return QStringLiteral("EDBClient"); }
};

} // namespace qv
