#include "data/BookGenerator.h"

#include "data/RecordTable.h"
#include "data/Schema.h"

#include <QStringList>

#include <array>

namespace qv {

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename List>
    const auto &pick(const List &list) { return list[size_t(below(int(std::size(list))))]; }

private:
    quint64 m_state;
};

const std::array kGiven = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda",
                           "William", "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica",
                           "Thomas", "Sarah", "Charles", "Karen", "Anna", "Lukas", "Sophie", "Mateo", "Chloe",
                           "Emma", "Noah", "Olivia", "Liam", "Ava", "Ethan", "Mia", "Lucas", "Isabella"};
const std::array kSurnames = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis",
                              "Rodriguez", "Martinez", "Hernandez", "Lopez", "Wilson", "Anderson", "Thomas",
                              "Taylor", "Moore", "Jackson", "Martin", "Lee", "McDonald", "MacLeod", "O'Brien",
                              "van Dijk", "Schmidt", "Dubois", "Rossi", "Novak", "Kowalski", "Nakamura"};
const std::array kMiddle = {"A.", "B.", "J.", "K.", "M.", "R.", "Lee", "Ann"};
const std::array kCjkSurnames = {u"王", u"李", u"张", u"刘", u"陈", u"杨", u"黄", u"赵", u"吴", u"周",
                                 u"徐", u"孙", u"马", u"朱", u"胡", u"郭", u"何", u"林", u"欧阳", u"司马",
                                 u"诸葛", u"上官"};
const std::array kCjkGiven = {u"伟", u"芳", u"娜", u"秀英", u"敏", u"静", u"丽", u"强", u"磊", u"军",
                              u"洋", u"勇", u"艳", u"杰", u"娟", u"涛", u"明", u"超", u"秀兰", u"霞", u"小明", u"建国"};
const std::array kPositions = {"Manager", "Engineer", "Director", "Sales", "Accountant", "Consultant",
                               "Professor", "Designer", "Nurse", "Lawyer", "Teacher", "Analyst"};
const std::array kStreets = {"Main Street", "High Street", "Park Avenue", "Oak Road", "Station Road",
                             "Church Lane", "Mill Road", "King Street", "Queen's Road", "River Walk"};
const std::array kCities = {"London", "Berlin", "Paris", "New York", "Toronto", "Sydney", "Madrid", "Rome"};
const std::array kCjkCities = {u"北京市", u"上海市", u"广州市", u"深圳市", u"杭州市", u"成都市", u"台北市", u"香港"};
const std::array kCompanyWords = {"Acme", "Globex", "Initech", "Umbrella", "Stark", "Wayne", "Hooli", "Vandelay",
                                  "Soylent", "Tyrell", "Cyberdyne", "Wonka", "Gringotts", "Oscorp", "Aperture"};
const std::array kCompanyKinds = {"Ltd", "Inc.", "GmbH", "& Co.", "Group", "Holdings", "Partners", "Trading"};
const std::array kCjkCompanyWords = {u"华联", u"东方", u"长城", u"新世纪", u"恒通", u"天成", u"宏达", u"金桥"};
const std::array kCjkCompanyKinds = {u"有限公司", u"集团", u"科技有限公司", u"贸易公司"};
const std::array kMemoWords = {"met", "at", "the", "conference", "call", "back", "about", "the", "order",
                               "birthday", "gift", "likes", "tea", "prefers", "e-mail", "meeting", "next", "week"};

QString phone(Random &r)
{
    return QStringLiteral("+%1 %2 %3").arg(1 + r.below(90)).arg(10 + r.below(90)).arg(r.below(90000000) + 10000000);
}

QString memo(Random &r)
{
    QStringList words;
    const int count = 3 + r.below(r.chance(10) ? 120 : 15);
    for (int i = 0; i < count; ++i)
        words << QString::fromLatin1(r.pick(kMemoWords));
    return words.join(QLatin1Char(' '));
}

std::vector<Value> organisationRow(Random &r, int coId)
{
    const bool cjk = r.chance(25);
    const QString company = cjk
        ? QString::fromUtf16(r.pick(kCjkCities)) + QString::fromUtf16(r.pick(kCjkCompanyWords)) + QString::fromUtf16(r.pick(kCjkCompanyKinds))
        : QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(r.pick(kCompanyWords)), QString::fromLatin1(r.pick(kCities)),
                                         QString::fromLatin1(r.pick(kCompanyKinds)));
    const QString domain = QStringLiteral("org%1.example").arg(coId);
    return {qint32(coId),
            company,
            QStringLiteral("%1 %2, %3").arg(1 + r.below(300)).arg(QString::fromLatin1(r.pick(kStreets)), QString::fromLatin1(r.pick(kCities))),
            QString::number(10000 + r.below(89999)),
            phone(r),
            r.chance(60) ? Value(phone(r)) : Value(),
            QStringLiteral("info@") + domain,
            r.chance(20) ? Value(memo(r)) : Value(),
            QDate(2005, 1, 1).addDays(r.below(7000)),
            QStringLiteral("https://www.") + domain};
}

std::vector<Value> personRow(Random &r, int clientId, int organisations, const std::vector<QString> &companies)
{
    const bool yellow = r.chance(3) && organisations > 0;
    const bool cjk = r.chance(30);
    QString surname, given, middle, name;
    const int org = organisations > 0 && r.chance(70) ? 2001 + r.below(organisations) : 0;
    if (yellow) {
        name = surname = companies[size_t(org > 0 ? org - 2001 : 0)];
    } else if (cjk) {
        surname = QString::fromUtf16(r.pick(kCjkSurnames));
        given = QString::fromUtf16(r.pick(kCjkGiven));
        name = surname + given;
    } else {
        surname = QString::fromLatin1(r.pick(kSurnames));
        given = QString::fromLatin1(r.pick(kGiven));
        if (r.chance(10))
            middle = QString::fromLatin1(r.pick(kMiddle));
        name = middle.isEmpty() ? given + QLatin1Char(' ') + surname : given + QLatin1Char(' ') + middle + QLatin1Char(' ') + surname;
    }
    std::array<qint32, 4> groups{1000, 1000, 1000, 1000};
    const int categories = r.below(4);
    for (int i = 0; i < categories; ++i) {
        const qint32 g = 1001 + r.below(24);
        if (std::find(groups.begin(), groups.end(), g) == groups.end())
            groups[size_t(i)] = g;
    }
    const QString mail = QStringLiteral("user%1@mail.example").arg(clientId);
    return {qint32(clientId),
            name,
            surname,
            middle.isEmpty() ? Value() : Value(middle),
            given.isEmpty() ? Value() : Value(given),
            r.chance(60) ? Value(QString::fromLatin1(r.pick(kPositions))) : Value(),
            r.chance(70) ? Value(cjk ? QString::fromUtf16(r.pick(kCjkCities)) + QStringLiteral("%1号").arg(1 + r.below(200))
                                     : QStringLiteral("%1 %2").arg(1 + r.below(300)).arg(QString::fromLatin1(r.pick(kStreets))))
                         : Value(),
            r.chance(60) ? Value(QString::number(10000 + r.below(89999))) : Value(),
            r.chance(75) ? Value(r.chance(15) ? mail + QStringLiteral(";alt") + mail : mail) : Value(),
            r.chance(65) ? Value(phone(r)) : Value(),
            r.chance(10) ? Value(phone(r)) : Value(),
            r.chance(70) ? Value(phone(r)) : Value(),
            r.chance(2) ? Value(phone(r)) : Value(),
            r.chance(70) ? Value(QDate(1940, 1, 1).addDays(r.below(25000))) : Value(),
            r.chance(30) ? Value(memo(r)) : Value(),
            QDate(2010, 1, 1).addDays(r.below(5000)),
            qint32(org),
            qint32(0),
            groups[0],
            groups[1],
            groups[2],
            groups[3],
            r.chance(5) ? Value(QString::number(100000 + r.below(900000))) : Value(),
            false,
            r.chance(30) ? Value(phone(r)) : Value(),
            r.chance(10) ? Value(QStringLiteral("https://home.example/~u%1").arg(clientId)) : Value(),
            yellow,
            qint32(0),
            Value()};
}

} // namespace

GeneratedBook generateBook(int persons, int organisations, quint64 seed)
{
    Random r(seed);
    GeneratedBook book;
    book.organisations = std::make_shared<RecordTable>(organisationFields());
    book.persons = std::make_shared<RecordTable>(personFields());

    std::vector<Value> defaultOrg(10);
    defaultOrg[0] = qint32(0);
    defaultOrg[1] = QStringLiteral("(No organisation)");
    book.organisations->insertRow(defaultOrg);
    std::vector<QString> companies;
    for (int i = 0; i < organisations; ++i) {
        auto row = organisationRow(r, 2001 + i);
        companies.push_back(std::get<QString>(row[1]));
        book.organisations->insertRow(row);
    }
    for (int i = 0; i < persons; ++i)
        book.persons->insertRow(personRow(r, 2001 + i, organisations, companies));
    return book;
}

} // namespace qv
