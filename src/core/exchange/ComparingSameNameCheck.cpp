#include "exchange/ComparingSameNameCheck.h"

#include <optional>

namespace qv {

namespace {

// Passes the questions on and remembers the last answer.
class AnswerWatch : public OrganisationComparer {
public:
    explicit AnswerWatch(OrganisationComparer &comparer) : m_comparer(comparer) {}
    Choice compare(const OrganisationComparison &comparison) override
    {
        m_last = m_comparer.compare(comparison);
        return *m_last;
    }
    bool lastWasKeep() const { return m_last == Choice::Keep; }

private:
    OrganisationComparer &m_comparer;
    std::optional<Choice> m_last;
};

} // namespace

bool ComparingSameNameCheck::link(const QString &name, const OrganisationValues &importedValues)
{
    AnswerWatch answers(m_comparer);
    linkImportedOrganisation(m_editModel, m_prompter, answers, true, name, importedValues);
    // Every way out but No takes the imported values: Yes into the stored
    // organisation, another name into the organisation it creates. The
    // caller writes them all again, typed, with the dates the window leaves out.
    return !answers.lastWasKeep();
}

} // namespace qv
