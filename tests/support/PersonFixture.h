#pragma once

#include "data/Schema.h"
#include "data/Value.h"

#include <QMap>
#include <QString>

#include <vector>

namespace qv::test {

// A person row from the fields that matter to a test; the rest stay empty.
std::vector<Value> person(const QMap<QString, Value> &fields);

// Six persons that between them show the edge cases of the filter language:
// 1 Mary McDonald (4th slot 1005, born 14 March), 2 Tom mcneil (1st slot 1005,
// born 2 March), 3 Pat O'Brien (no birthday), 4 Acme Ltd (yellow page),
// 5 王小明 (born 14 December), 6 Ann Null (Yellow empty).
std::vector<std::vector<Value>> filterFixture();

} // namespace qv::test
