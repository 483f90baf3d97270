#include "PersonFixture.h"

namespace qv::test {

std::vector<Value> person(const QMap<QString, Value> &fields)
{
    std::vector<Value> row(size_t(personFields().size()));
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const int f = fieldIndex(personFields(), it.key());
        Q_ASSERT(f >= 0);
        row[size_t(f)] = it.value();
    }
    return row;
}

std::vector<std::vector<Value>> filterFixture()
{
    const qint32 empty = 1000;
    return {
        person({{"ClientID", qint32(1)}, {"Name", QString("Mary McDonald")}, {"SurName", QString("McDonald")},
                {"GivenName", QString("Mary")}, {"Yellow", false}, {"OrgID", qint32(2001)}, {"Group1", empty},
                {"Group2", empty}, {"Group3", empty}, {"Group4", qint32(1005)}, {"Birthday", QDate(1980, 3, 14)},
                {"Address", QString("12 High Street")}, {"Phone", QString("030 0171 22")}}),
        person({{"ClientID", qint32(2)}, {"Name", QString("Tom mcneil")}, {"SurName", QString("mcneil")},
                {"GivenName", QString("Tom")}, {"Yellow", false}, {"OrgID", qint32(0)}, {"Group1", qint32(1005)},
                {"Group2", empty}, {"Group3", empty}, {"Group4", empty}, {"Birthday", QDate(1975, 3, 2)},
                {"Address", QString("Rue de la Paix 1")}}),
        person({{"ClientID", qint32(3)}, {"Name", QString("Pat O'Brien")}, {"SurName", QString("O'Brien")},
                {"GivenName", QString("Pat")}, {"Yellow", false}, {"OrgID", qint32(2002)}, {"Group1", empty},
                {"Mobile", QString("0171 555")}}),
        person({{"ClientID", qint32(4)}, {"Name", QString("Acme Ltd")}, {"SurName", QString("Acme Ltd")},
                {"Yellow", true}, {"OrgID", qint32(2002)}, {"Group1", qint32(1006)}}),
        person({{"ClientID", qint32(5)}, {"Name", QString("\u738b\u5c0f\u660e")}, {"SurName", QString("\u738b")},
                {"GivenName", QString("\u5c0f\u660e")}, {"Yellow", false}, {"OrgID", qint32(0)},
                {"Group2", qint32(1006)}, {"Birthday", QDate(1990, 12, 14)}, {"Address", QString("\u5317\u4eac\u5e02 STREET 5")}}),
        person({{"ClientID", qint32(6)}, {"Name", QString("Ann Null")}, {"SurName", QString("Null")},
                {"GivenName", QString("Ann")}, {"OrgID", qint32(0)}}),
    };
}

} // namespace qv::test
