#pragma once

#include "editing/OrganisationSameName.h"

namespace qv::bench {

// The benchmarks import with the same-name check off; were it on, the
// stored organisation would stay as it is.
class KeepingComparer : public OrganisationComparer {
public:
    Choice compare(const OrganisationComparison &) override { return Choice::Keep; }
};

} // namespace qv::bench
