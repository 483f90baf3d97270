// Feeds any bytes to the print templates reader as a pt.ini, and lays out a
// small report with every template it lists: damaged sizes and heights must
// neither crash nor keep the layout from ending.
#include "common/TextDecoding.h"
#include "data/RecordStore.h"
#include "printing/PrintTemplates.h"
#include "printing/ReportLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

qv::RecordStore &smallBook()
{
    static qv::RecordStore data;
    static bool filled = false;
    if (!filled) {
        for (qint32 id = 1; id <= 3; ++id) {
            std::vector<qv::Value> person(size_t(qv::personFields().size()));
            person[0] = id;
            person[1] = QStringLiteral("Person %1").arg(id);
            person[16] = qint32(id == 1 ? 2001 : 0); // OrgID
            data.personRead.appendRecord(person);
        }
        data.organisationRead.appendRecord({qint32(0), QStringLiteral("None")});
        data.organisationRead.appendRecord({qint32(2001), QStringLiteral("Acme")});
        data.bindViews();
        filled = true;
    }
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = qv::decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    qv::PrintTemplates file{qv::IniDocument(text)};
    (void)file.selectedPage();
    for (qv::PrintMode mode : qv::kModePages) {
        const qv::TemplateList list = file.templateList(mode);
        for (const QString &name : list.names) {
            qv::PrintSettings settings;
            settings.mode = mode;
            file.loadTemplate(name, settings);
            const qv::ReportContent content = qv::collectReportContent(smallBook(), mode);
            qv::ReportLayout layout(settings, content, qv::reportHeader(name, QString()));
            int pages = 0;
            while (!layout.atEnd()) {
                layout.nextPage();
                if (++pages > 10) // three records never take more than a page each
                    std::abort();
            }
        }
        file.writeTemplateList(mode, list);
    }
    return 0;
}
