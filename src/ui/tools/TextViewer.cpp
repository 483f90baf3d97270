#include "tools/TextViewer.h"

#include "common/LayoutScale.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

TextViewer::TextViewer(const QString &text, const QFont &font, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TextViewer"));
    setWindowTitle(QStringLiteral("Text"));
    resize(LayoutScale::ofApplication()(500, 360));
    auto *memo = new QPlainTextEdit(text, this);
    memo->setObjectName(QStringLiteral("text"));
    memo->setReadOnly(true);
    memo->setFont(font);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(memo);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

} // namespace qv
