// The About box: the program's icon beside its texts, nothing cut or
// overlapping in the box's fixed size.
#include "common/LayoutScale.h"
#include "tools/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace qv;

namespace {

// The visible labels and buttons of the box.
QList<QWidget *> partsOf(const AboutBox &box)
{
    QList<QWidget *> parts;
    for (QWidget *w : box.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisible() && (qobject_cast<QLabel *>(w) || qobject_cast<QPushButton *>(w)))
            parts << w;
    }
    return parts;
}

QString describe(const QWidget *w)
{
    const QRect g = w->geometry();
    const auto *label = qobject_cast<const QLabel *>(w);
    return QString("%1 \"%2\" at %3,%4 %5x%6")
        .arg(w->objectName(), label ? label->text() : static_cast<const QPushButton *>(w)->text())
        .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
private slots:
    void pictureIsTheProgramIcon_data();
    void pictureIsTheProgramIcon();
    void partsFitTheBox();
};

void TestAboutBox::pictureIsTheProgramIcon_data()
{
    // Points of the icon's 128-unit drawing and the colour there.
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("the book's cover") << QPointF(50, 110) << QColor("#3f7a4c");
    QTest::newRow("the book's spine") << QPointF(18, 40) << QColor("#2f5f3a");
    QTest::newRow("the yellow tab") << QPointF(110, 30) << QColor("#e0b64a");
    QTest::newRow("the red tab") << QPointF(110, 55) << QColor("#d9604c");
    QTest::newRow("the blue tab") << QPointF(110, 78) << QColor("#4c86d9");
    QTest::newRow("the person on the card") << QPointF(69, 54) << QColor("#2f5f3a");
}

void TestAboutBox::pictureIsTheProgramIcon()
{
    QFETCH(QPointF, point);
    QFETCH(QColor, colour);
    AboutBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *picture = box.findChild<QLabel *>("programPicture");
    QVERIFY(picture);
    QVERIFY(picture->isVisible());
    // Large enough to be made out, square as the icon.
    QVERIFY2(picture->width() >= LayoutScale::ofApplication()(48), qPrintable(describe(picture)));
    QCOMPARE(picture->width(), picture->height());
    const QImage shown = box.grab().toImage();
    const QPoint at = picture->geometry().topLeft() + (point * picture->width() / 128).toPoint();
    const QColor seen = shown.pixelColor(at);
    const int off = std::max({std::abs(seen.red() - colour.red()), std::abs(seen.green() - colour.green()),
                              std::abs(seen.blue() - colour.blue())});
    QVERIFY2(off <= 16, qPrintable(QString("%1 at %2,%3, expected %4").arg(seen.name()).arg(at.x()).arg(at.y()).arg(colour.name())));
}

void TestAboutBox::partsFitTheBox()
{
    AboutBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QList<QWidget *> parts = partsOf(box);
    QCOMPARE(parts.size(), 6); // the picture, four lines of text and OK
    for (const QWidget *part : parts) {
        QVERIFY2(box.rect().contains(part->geometry()), qPrintable(describe(part)));
        const auto *label = qobject_cast<const QLabel *>(part);
        if (label && label->wordWrap())
            QVERIFY2(part->height() >= label->heightForWidth(part->width()), qPrintable(describe(part)));
        else
            QVERIFY2(part->width() >= part->minimumSizeHint().width() && part->height() >= part->minimumSizeHint().height(),
                     qPrintable(describe(part)));
        for (const QWidget *other : parts) {
            if (other != part)
                QVERIFY2(!part->geometry().intersects(other->geometry()), qPrintable(describe(part) + " over " + describe(other)));
        }
    }
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
