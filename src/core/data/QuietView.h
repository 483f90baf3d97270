#pragma once

#include "data/TableView.h"

namespace qv {

// Keeps a view's notifications off while many rows change, and on again
// however the work ends.
class QuietView {
public:
    explicit QuietView(TableView &view) : m_view(view) { m_view.disableControls(); }
    ~QuietView() { m_view.enableControls(); }
    QuietView(const QuietView &) = delete;
    QuietView &operator=(const QuietView &) = delete;

private:
    TableView &m_view;
};

} // namespace qv
