#include "printing/SamplePage.h"

#include "printing/FieldSample.h"
#include "printing/ReportLines.h"
#include "printing/ReportPainter.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qv {

namespace {

double nextX(const ReportLine &line, double x, double edge)
{
    for (const LineItem &item : line.items) {
        if (item.kind != LineItem::Kind::Rule && item.x > x)
            edge = std::min(edge, item.x);
    }
    return edge;
}

} // namespace

SamplePage::SamplePage(PrintMode mode, int width, QWidget *parent)
    : QWidget(parent)
    , m_mode(mode)
{
    setObjectName(QStringLiteral("page") + QString::number(int(mode)));
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    const int checkWidth = QCheckBox().sizeHint().width();
    const int lineWidth = width - checkWidth;
    const double columnWidth = reportColumns(mode).width;
    const double scale = lineWidth / columnWidth;
    for (const ReportLine &line : reportLines(mode)) {
        auto *rowWidget = new QWidget(this);
        rowWidget->setFixedWidth(width);
        for (const LineItem &item : line.items) {
            if (item.kind == LineItem::Kind::Rule)
                continue;
            const int left = int(item.x * scale);
            const int right = int(nextX(line, item.x, columnWidth) * scale);
            QLabel *label = nullptr;
            if (item.kind == LineItem::Kind::Caption) {
                label = new QLabel(item.caption, rowWidget);
                label->setFont(reportFont(item.captionFont));
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            } else {
                auto *sample = new FieldSample(item.field, line.number, rowWidget);
                connect(sample, &FieldSample::clicked, this, &SamplePage::fieldClicked);
                m_samples.push_back(sample);
                label = sample;
            }
            label->setGeometry(left, 0, right - left, 0);
        }
        Row row{line.number, rowWidget, nullptr};
        if (line.number > 1) {
            row.check = new QCheckBox(rowWidget);
            row.check->setObjectName(QStringLiteral("line%1Switch").arg(line.number));
            row.check->setChecked(true);
            row.check->setGeometry(lineWidth, 0, checkWidth, row.check->sizeHint().height());
        }
        setLineHeight(row, row.height);
        layout->addWidget(rowWidget);
        m_rows.push_back(row);
    }
    layout->addStretch(1);
}

const SamplePage::Row *SamplePage::row(int line) const
{
    for (const Row &r : m_rows) {
        if (r.number == line)
            return &r;
    }
    return nullptr;
}

void SamplePage::setLineHeight(Row &row, int height)
{
    row.height = height;
    // The texts are cut at the line's height, where the printed line would
    // run into the next; the row keeps room for its switch.
    const int switchHeight = row.check ? row.check->height() : 0;
    row.widget->setFixedHeight(std::max({height, switchHeight, 1}));
    for (QLabel *label : row.widget->findChildren<QLabel *>())
        label->resize(label->width(), std::max(height, 1));
}

void SamplePage::showTemplate(const PrintSettings &settings)
{
    for (FieldSample *sample : m_samples)
        sample->setFieldFont(settings.font(sample->field()));
    for (Row &r : m_rows) {
        setLineHeight(r, settings.lineHeight(r.number));
        if (r.check)
            r.check->setChecked(settings.printsLine(r.number));
    }
}

void SamplePage::capture(PrintSettings &settings) const
{
    settings.mode = m_mode;
    for (const FieldSample *sample : m_samples)
        settings.font(sample->field()) = sample->fieldFont();
    for (const Row &r : m_rows) {
        settings.lineHeights[size_t(r.number - 1)] = r.height;
        if (r.check)
            settings.setLinePrinted(r.number, r.check->isChecked());
    }
}

void SamplePage::showEntry(const EntryTexts &texts)
{
    for (FieldSample *sample : m_samples)
        sample->setValue(texts[size_t(sample->field())]);
}

void SamplePage::setFieldFont(PrintField field, const FieldFont &font, int lineHeight)
{
    FieldSample *s = sample(field);
    if (!s)
        return;
    s->setFieldFont(font);
    for (Row &r : m_rows) {
        if (r.number == s->line())
            setLineHeight(r, lineHeight);
    }
}

FieldSample *SamplePage::sample(PrintField field) const
{
    for (FieldSample *s : m_samples) {
        if (s->field() == field)
            return s;
    }
    return nullptr;
}

QCheckBox *SamplePage::lineSwitch(int line) const
{
    const Row *r = row(line);
    return r ? r->check : nullptr;
}

int SamplePage::lineHeight(int line) const
{
    const Row *r = row(line);
    return r ? r->height : 0;
}

} // namespace qv
