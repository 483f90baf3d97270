#include "printing/ReportPdf.h"

#include "common/Error.h"
#include "printing/ReportPainter.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

namespace qv {

void writeReportPdf(const QString &path, const PrintSettings &settings, const ReportContent &content,
                    const ReportHeader &header)
{
    QSaveFile file(path);
    const Error failure(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::WriteOnly))
        throw failure;
    {
        QPdfWriter writer(&file);
        writer.setTitle(printJobName(settings.mode));
        writer.setCreator(QStringLiteral("Quorvel"));
        prepareReportPage(writer);
        paintReport(writer, settings, content, header);
    }
    if (!file.commit())
        throw failure;
}

} // namespace qv
