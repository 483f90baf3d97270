#include "printing/PrinterFontDialog.h"

#include "printing/ReportPainter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace qv {

namespace {

constexpr int kSmallest = 8;
constexpr int kLargest = 12;

qint32 templateColor(const QColor &c)
{
    return qint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

} // namespace

PrinterFontDialog::PrinterFontDialog(const FieldFont &initial, bool scalableOnly, QWidget *parent)
    : QDialog(parent)
    , m_family(new QFontComboBox(this))
    , m_size(new QComboBox(this))
    , m_sample(new QLabel(QStringLiteral("AaBbYyZz"), this))
    , m_color(initial.color)
{
    setWindowTitle(QStringLiteral("Font"));
    m_family->setObjectName(QStringLiteral("fontFamily"));
    m_family->setFontFilters(scalableOnly ? QFontComboBox::ScalableFonts : QFontComboBox::AllFonts);
    m_family->setCurrentFont(reportFont(ReportFont{initial.name, initial.size}));
    m_size->setObjectName(QStringLiteral("fontSize"));
    for (int size = kSmallest; size <= kLargest; ++size)
        m_size->addItem(QString::number(size), size);
    m_size->setCurrentIndex(std::clamp(initial.size, kSmallest, kLargest) - kSmallest);
    auto *color = new QPushButton(QStringLiteral("&Color..."), this);
    connect(color, &QPushButton::clicked, this, &PrinterFontDialog::chooseColor);
    m_sample->setMinimumHeight(m_sample->sizeHint().height() * 2);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Font:"), m_family);
    form->addRow(QStringLiteral("&Size:"), m_size);
    form->addRow(QString(), color);
    form->addRow(QStringLiteral("Sample:"), m_sample);
    form->addRow(buttons);
    connect(m_family, &QFontComboBox::currentFontChanged, this, &PrinterFontDialog::showSample);
    connect(m_size, &QComboBox::currentIndexChanged, this, &PrinterFontDialog::showSample);
    showSample();
}

FieldFont PrinterFontDialog::chosenFont() const
{
    return {m_family->currentFont().family(), m_size->currentData().toInt(), m_color};
}

void PrinterFontDialog::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(reportColor(m_color), this);
    if (chosen.isValid()) {
        m_color = templateColor(chosen);
        showSample();
    }
}

void PrinterFontDialog::showSample()
{
    const FieldFont font = chosenFont();
    m_sample->setFont(reportFont(ReportFont{font.name, font.size}));
    QPalette p = m_sample->palette();
    p.setColor(QPalette::WindowText, reportColor(font.color));
    m_sample->setPalette(p);
}

std::optional<FieldFont> PrinterFontDialog::choose(const FieldFont &initial, bool scalableOnly, QWidget *parent)
{
    PrinterFontDialog dialog(initial, scalableOnly, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFont();
}

} // namespace qv
