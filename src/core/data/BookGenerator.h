#pragma once

#include <QtGlobal>

#include <memory>

namespace qv {

class RecordTable;

struct GeneratedBook {
    std::shared_ptr<RecordTable> persons;
    std::shared_ptr<RecordTable> organisations;
};

// A realistic address book of any size, the same for the same seed: Western
// and Chinese names, organisations (CoID 0 is the default one), up to four
// categories from 1001 on, birthdays, memos, a few yellow-page entries.
GeneratedBook generateBook(int persons, int organisations, quint64 seed = 1);

} // namespace qv
