#pragma once

#include "settings/Settings.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFontComboBox;
class QLineEdit;

namespace qv {

// "Font": chooses the font of an area of the main window: a family, a size
// from 8 to 12 points (the sizes the window's layout is made for) and one of
// the sixteen basic colours.
class AreaFontDialog : public QDialog {
    Q_OBJECT
public:
    explicit AreaFontDialog(QWidget *parent = nullptr);
    // The chosen font, or nothing when the user cancelled.
    std::optional<AreaFont> choose(const AreaFont &current);

    static constexpr int kSmallest = 8;
    static constexpr int kLargest = 12;

private:
    void showSample();
    void setCurrentColour(const QColor &colour);
    AreaFont chosen() const;

    QFontComboBox *m_family;
    QComboBox *m_size;
    QComboBox *m_colour;
    QLineEdit *m_sample;
};

} // namespace qv
