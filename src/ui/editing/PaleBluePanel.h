#pragma once

class QWidget;

namespace qv {

// The pale blue background (RGB 240, 251, 255) of the editor's small
// frameless pop-ups and the category picker.
void makePaleBlue(QWidget *widget);

} // namespace qv
