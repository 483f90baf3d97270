#pragma once

#include "exchange/SameNameCheck.h"

namespace qv {

class EditModel;

// Links an imported person to the stored organisation of the same name and
// leaves that organisation's values alone: the answer No of the same-name
// question, for where the question cannot be asked.
class KeepStoredOrganisation : public SameNameCheck {
public:
    explicit KeepStoredOrganisation(EditModel &editModel) : m_editModel(editModel) {}
    bool link(const QString &name, const QList<FieldText> &importedValues) override;

private:
    EditModel &m_editModel;
};

} // namespace qv
