#include "data/Value.h"

namespace qv {

QString valueText(const Value &v)
{
    struct Render {
        QString operator()(std::monostate) const { return {}; }
        QString operator()(qint32 i) const { return QString::number(i); }
        QString operator()(const QString &s) const { return s; }
        QString operator()(const QDate &d) const { return d.toString(Qt::ISODate); }
        QString operator()(bool b) const { return b ? QStringLiteral("True") : QStringLiteral("False"); }
    };
    return std::visit(Render{}, v);
}

} // namespace qv
