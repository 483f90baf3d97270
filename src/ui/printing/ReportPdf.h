#pragma once

#include "printing/ReportLayout.h"

namespace qv {

// Writes the report as a PDF file, replacing the file only once it is
// whole. Throws qv::Error "Unable to write to <path>" when it cannot be written.
void writeReportPdf(const QString &path, const PrintSettings &settings, const ReportContent &content,
                    const ReportHeader &header);

} // namespace qv
