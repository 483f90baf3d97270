#pragma once

#include "editing/OrganisationSameName.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qv {

// "Compare": the stored organisation beside the one an import brings under
// the same name, with the question whether to replace it.
class OrganisationCompareDialog : public QDialog, public OrganisationComparer {
    Q_OBJECT
public:
    explicit OrganisationCompareDialog(QWidget *parent = nullptr);

    Choice compare(const OrganisationComparison &comparison) override;

private:
    QLabel *m_heading;
    QPlainTextEdit *m_existing;
    QPlainTextEdit *m_imported;
    QLabel *m_question;
    Choice m_choice = Choice::Keep;
};

} // namespace qv
