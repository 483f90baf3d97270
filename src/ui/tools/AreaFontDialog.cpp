#include "tools/AreaFontDialog.h"

#include "common/AreaFontStyle.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace qv {

namespace {

struct NamedColour {
    const char *name;
    QRgb rgb;
};

constexpr NamedColour kColours[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};

} // namespace

AreaFontDialog::AreaFontDialog(QWidget *parent)
    : QDialog(parent)
    , m_family(new QFontComboBox(this))
    , m_size(new QComboBox(this))
    , m_colour(new QComboBox(this))
    , m_sample(new QLineEdit(QStringLiteral("AaBbYyZz"), this))
{
    setObjectName(QStringLiteral("AreaFontDialog"));
    setWindowTitle(QStringLiteral("Font"));
    m_family->setObjectName(QStringLiteral("family"));
    m_size->setObjectName(QStringLiteral("size"));
    for (int size = kSmallest; size <= kLargest; ++size)
        m_size->addItem(QString::number(size), size);
    m_colour->setObjectName(QStringLiteral("colour"));
    for (const NamedColour &c : kColours) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        m_colour->addItem(QIcon(swatch), QString::fromLatin1(c.name), QColor(c.rgb));
    }
    m_sample->setReadOnly(true);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(m_sample->sizeHint().height() * 2);
    for (QComboBox *box : {static_cast<QComboBox *>(m_family), m_size, m_colour})
        connect(box, &QComboBox::currentIndexChanged, this, &AreaFontDialog::showSample);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Font:"), m_family);
    layout->addRow(QStringLiteral("&Size:"), m_size);
    layout->addRow(QStringLiteral("&Color:"), m_colour);
    layout->addRow(QStringLiteral("Sample:"), m_sample);
    layout->addRow(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<AreaFont> AreaFontDialog::choose(const AreaFont &current)
{
    m_family->setCurrentFont(areaQFont(current));
    const int size = std::clamp(current.size, kSmallest, kLargest);
    m_size->setCurrentIndex(m_size->findData(size));
    setCurrentColour(areaColour(current.color));
    showSample();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return chosen();
}

void AreaFontDialog::setCurrentColour(const QColor &colour)
{
    // A colour outside the basic ones, set in aa.ini, is offered as it is.
    constexpr int basic = int(std::size(kColours));
    if (m_colour->findData(colour) < 0) {
        QPixmap swatch(12, 12);
        swatch.fill(colour);
        if (m_colour->count() == basic)
            m_colour->addItem(QStringLiteral("Custom"));
        m_colour->setItemData(basic, colour);
        m_colour->setItemIcon(basic, QIcon(swatch));
    }
    m_colour->setCurrentIndex(m_colour->findData(colour));
}

AreaFont AreaFontDialog::chosen() const
{
    AreaFont font;
    font.name = m_family->currentFont().family();
    font.size = m_size->currentData().toInt();
    font.color = areaColourValue(m_colour->currentData().value<QColor>());
    return font;
}

void AreaFontDialog::showSample()
{
    const AreaFont font = chosen();
    m_sample->setFont(areaQFont(font));
    QPalette p = m_sample->palette();
    p.setColor(QPalette::Text, areaColour(font.color));
    m_sample->setPalette(p);
}

} // namespace qv
