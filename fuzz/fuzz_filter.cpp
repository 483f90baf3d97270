// Any text as a filter over a small table: it parses and filters, or it is
// refused with a FilterError; nothing else may happen.
#include "data/TableView.h"
#include "data/filter/FilterSyntax.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static qv::TableView *view = [] {
        auto *v = new qv::TableView(QStringLiteral("fuzz"), qv::personFields());
        std::vector<qv::Value> row(29);
        row[0] = qint32(1);
        row[1] = QStringLiteral("Mary O'Brien");
        row[2] = QStringLiteral("O'Brien");
        row[13] = QDate(1980, 3, 14);
        row[26] = true;
        v->appendRecord(row);
        v->appendRecord(std::vector<qv::Value>(29));
        return v;
    }();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (bool caseInsensitive : {false, true}) {
        view->setCaseInsensitive(caseInsensitive);
        try {
            view->setFilter(text);
            view->recordCount();
        } catch (const qv::filter::FilterError &) {
        }
    }
    view->setFilter(QString());
    return 0;
}
