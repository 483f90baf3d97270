#pragma once

#include "printing/PrintSettings.h"

#include <QWidget>

#include <vector>

class QCheckBox;

namespace qv {

class FieldSample;

// The texts of the current entry and its organisation, by printed field.
using EntryTexts = std::array<QString, kPrintFieldCount>;

// One page of the print dialog: the printed lines of a mode, laid out as on
// paper at a smaller scale, with the entry's values in the template's fonts,
// each line as high as the template says and, from the second on, the
// line's switch at its right end.
class SamplePage : public QWidget {
    Q_OBJECT
public:
    SamplePage(PrintMode mode, int width, QWidget *parent = nullptr);

    PrintMode mode() const { return m_mode; }
    void showTemplate(const PrintSettings &settings);
    // Sets the mode and copies the page's fonts, heights and switches; the
    // fonts of fields the page does not show stay as they are.
    void capture(PrintSettings &settings) const;
    void showEntry(const EntryTexts &texts);
    // A field sample takes the font, and its line the height.
    void setFieldFont(PrintField field, const FieldFont &font, int lineHeight);
    FieldSample *sample(PrintField field) const;
    QCheckBox *lineSwitch(int line) const;
    int lineHeight(int line) const;

signals:
    void fieldClicked(qv::PrintField field);

private:
    struct Row {
        int number = 0;
        QWidget *widget = nullptr;
        QCheckBox *check = nullptr;
        int height = 12; // the template's, in pixels
    };
    const Row *row(int line) const;
    static void setLineHeight(Row &row, int height);

    PrintMode m_mode;
    std::vector<Row> m_rows;
    std::vector<FieldSample *> m_samples;
};

} // namespace qv
