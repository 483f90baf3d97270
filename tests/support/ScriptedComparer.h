#pragma once

#include "editing/OrganisationSameName.h"

#include <QList>
#include <QTest>

namespace qv::test {

// Answers the compare window from a queue and remembers what it showed; an
// unexpected comparison fails the test.
class ScriptedComparer : public OrganisationComparer {
public:
    QList<Choice> answers;
    QList<OrganisationComparison> shown;
    Choice compare(const OrganisationComparison &comparison) override
    {
        shown << comparison;
        if (answers.isEmpty()) {
            QTest::qFail("compare window not expected", __FILE__, __LINE__);
            return Choice::Keep;
        }
        return answers.takeFirst();
    }
};

} // namespace qv::test
