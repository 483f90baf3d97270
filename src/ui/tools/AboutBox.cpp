#include "tools/AboutBox.h"

#include "common/LayoutScale.h"
#include "common/ProgramIcon.h"
#include "tools/HomePage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qv {

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("AboutBox"));
    const LayoutScale px = LayoutScale::ofApplication();
    setFixedSize(px(308, 198));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 220, 192));
    setPalette(p);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("programPicture"));
    picture->setFixedSize(px(64, 64));
    picture->setPixmap(programIcon(picture->width(), devicePixelRatioF()));
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

    // The picture beside the product's name and version, the other lines below.
    auto *titles = new QVBoxLayout;
    titles->addWidget(name);
    titles->addWidget(version);
    auto *heading = new QHBoxLayout;
    heading->addWidget(picture);
    heading->addSpacing(px(8));
    heading->addLayout(titles);
    heading->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(maker);
    layout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
}

void AboutBox::setOkVisible(bool visible)
{
    m_ok->setVisible(visible);
}

} // namespace qv
