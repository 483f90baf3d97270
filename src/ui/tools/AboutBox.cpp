#include "tools/AboutBox.h"

#include "common/LayoutScale.h"
#include "tools/HomePage.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qv {

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("AboutBox"));
    setFixedSize(LayoutScale::ofApplication()(308, 198));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 220, 192));
    setPalette(p);

    auto *name = new QLabel(QStringLiteral("Quorvel"), this);
    QFont big = name->font();
    big.setPointSize(22);
    big.setBold(true);
    name->setFont(big);
    auto *version = new QLabel(QStringLiteral("Version 0.1"), this);
    auto *maker = new QLabel(QStringLiteral("An address book for people and the organisations they work for"), this);
    maker->setWordWrap(true);
    auto *link = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(homePageUrl(), QUrl(homePageUrl()).host()), this);
    link->setOpenExternalLinks(true);
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(maker);
    layout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
}

void AboutBox::setOkVisible(bool visible)
{
    m_ok->setVisible(visible);
}

} // namespace qv
