#include "editing/OrganisationCompareDialog.h"

#include "common/LayoutScale.h"
#include "common/ScreenPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

namespace {

QPlainTextEdit *valuesField(QWidget *parent, const QString &name)
{
    auto *field = new QPlainTextEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return field;
}

} // namespace

OrganisationCompareDialog::OrganisationCompareDialog(QWidget *parent)
    : QDialog(parent)
    , m_heading(new QLabel(this))
    , m_existing(valuesField(this, QStringLiteral("Memo1")))
    , m_imported(valuesField(this, QStringLiteral("Memo2")))
    , m_question(new QLabel(this))
{
    setObjectName(QStringLiteral("organisationCompareDialog"));
    setWindowTitle(QStringLiteral("Compare"));
    m_heading->setObjectName(QStringLiteral("Label1"));
    m_question->setObjectName(QStringLiteral("Label2"));
    auto *yes = new QPushButton(QStringLiteral("&Yes"), this);
    auto *no = new QPushButton(QStringLiteral("&No"), this);
    auto *change = new QPushButton(QStringLiteral("&Change Org Name"), this);
    yes->setDefault(true);
    auto *fields = new QHBoxLayout;
    fields->addWidget(m_existing);
    fields->addWidget(m_imported);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addSpacing(LayoutScale::ofApplication()(24));
    buttons->addWidget(change);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addLayout(fields, 1);
    layout->addWidget(m_question);
    layout->addLayout(buttons);
    const auto answer = [this](Choice choice) {
        m_choice = choice;
        done(choice == Choice::Keep ? QDialog::Rejected : QDialog::Accepted);
    };
    connect(yes, &QPushButton::clicked, this, [answer] { answer(Choice::Replace); });
    connect(no, &QPushButton::clicked, this, [answer] { answer(Choice::Keep); });
    connect(change, &QPushButton::clicked, this, [answer] { answer(Choice::Rename); });
    resize(LayoutScale::ofApplication()(545, 428));
}

OrganisationComparer::Choice OrganisationCompareDialog::compare(const OrganisationComparison &comparison)
{
    m_heading->setText(comparison.heading);
    m_question->setText(comparison.question);
    m_existing->setPlainText(comparison.existing);
    m_imported->setPlainText(comparison.imported);
    m_choice = Choice::Keep; // Esc answers No
    setGeometry(centredWithin(size(), screen()->availableGeometry()));
    exec();
    return m_choice;
}

} // namespace qv
