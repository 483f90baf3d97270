#include "editing/MemoEditWindow.h"

#include "common/LayoutScale.h"
#include "common/ScreenPlacement.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

MemoEditWindow::MemoEditWindow(QWidget *parent)
    : QDialog(parent)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("memoEditWindow"));
    setWindowTitle(QStringLiteral("Text"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setAutoDefault(false); // Enter is a new line of the memo
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(LayoutScale::ofApplication()(500, 360));
}

void MemoEditWindow::edit(QPlainTextEdit *memo)
{
    m_text->setFont(memo->font());
    m_text->setPlainText(memo->toPlainText());
    const auto connection = connect(m_text, &QPlainTextEdit::textChanged, memo, [this, memo] {
        memo->setPlainText(m_text->toPlainText());
    });
    setGeometry(centredWithin(size(), screen()->availableGeometry()));
    m_text->setFocus();
    exec();
    disconnect(connection);
}

} // namespace qv
