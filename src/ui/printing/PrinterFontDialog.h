#pragma once

#include "printing/PrintSettings.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFontComboBox;
class QLabel;

namespace qv {

// The font dialog of the print templates: a family, a size from 8 to 12
// points and a colour.
class PrinterFontDialog : public QDialog {
    Q_OBJECT
public:
    // scalableOnly lists only the fonts that scale to any size, which is
    // what there is to choose from without a printer.
    PrinterFontDialog(const FieldFont &initial, bool scalableOnly, QWidget *parent = nullptr);

    FieldFont chosenFont() const;

    // Shows the dialog; nothing when it is cancelled.
    static std::optional<FieldFont> choose(const FieldFont &initial, bool scalableOnly, QWidget *parent);

private:
    void chooseColor();
    void showSample();

    QFontComboBox *m_family;
    QComboBox *m_size;
    QLabel *m_sample;
    qint32 m_color;
};

} // namespace qv
