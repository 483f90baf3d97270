#include "exchange/vcard/EntryCards.h"

#include "data/RecordTable.h"
#include "exchange/vcard/VCardFlags.h"

namespace qv::vcard {

namespace {

// The zero date, which stands for no date.
const qint64 kZeroDay = QDate(1899, 12, 30).toJulianDay();

const char *const kPersonFields[] = {"SurName", "GivenName", "MidName", "Name",   "Birthday", "Position",
                                     "Phone",   "Mobile",    "Pager",   "DPhone", "Fax",      "EMail",
                                     "Address", "Zip",       "Memo",    "OrgID"};
const char *const kOrganisationFields[] = {"Company", "CAddress", "CZip", "CPhone", "CFax", "CMemo", "CEMail"};

template<size_t N>
std::array<const Column *, N> columnsOf(const RecordTable &table, const char *const (&names)[N])
{
    std::array<const Column *, N> columns;
    for (size_t i = 0; i < N; ++i)
        columns[i] = &table.column(table.fieldIndex(QString::fromLatin1(names[i])));
    return columns;
}

QString textOf(const Column *column, int row)
{
    return column->texts[size_t(row)];
}

QDate dateOf(const Column *column, int row)
{
    const qint64 day = column->numbers[size_t(row)];
    return day == Column::kNullNumber || day == kZeroDay ? QDate() : QDate::fromJulianDay(day);
}

// Memos keep CR LF; cards hold line breaks as LF.
QString cardLines(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void addTelephone(VCard &card, const QString &number, quint16 flags)
{
    if (!number.isEmpty())
        card.addTelephone(number, flags);
}

void addEmail(VCard &card, const QString &address, quint16 flags)
{
    if (!address.isEmpty())
        card.addEmail(address, NoEmailType, flags);
}

void addAddress(VCard &card, const QString &text, const QString &zip, quint8 flags)
{
    PostalAddress address;
    address.street = text;
    address.postalCode = zip;
    card.addAddress(address, flags);
}

void addNote(VCard &card, const QString &text, quint8 flags)
{
    if (!text.isEmpty())
        card.addNote(cardLines(text), flags);
}

} // namespace

EntryCards::EntryCards(const RecordTable &persons, const RecordTable &organisations)
    : m_person(columnsOf(persons, kPersonFields))
    , m_organisation(columnsOf(organisations, kOrganisationFields))
{
    const Column &coIds = organisations.column(organisations.fieldIndex(QStringLiteral("CoID")));
    for (int row = 0; row < organisations.rowSlots(); ++row) {
        if (organisations.isAlive(row))
            m_organisationRows.emplace(coIds.numbers[size_t(row)], row);
    }
}

VCard EntryCards::cardOf(int personRow) const
{
    VCard card;
    addPerson(card, personRow);
    // The default organisation (CoID 0) stands for a workplace not given,
    // and a link to no organisation reads as it: other programs would show
    // its name as the person's company, and values someone put into it
    // belong to no one person.
    const qint64 orgId = m_person[OrgID]->numbers[size_t(personRow)];
    const auto org = m_organisationRows.find(orgId);
    if (orgId != 0 && org != m_organisationRows.end())
        addOrganisation(card, org->second);
    return card;
}

void EntryCards::addPerson(VCard &card, int row) const
{
    if (const QString s = textOf(m_person[SurName], row); !s.isEmpty())
        card.setFamilyName(s);
    if (const QString s = textOf(m_person[GivenName], row); !s.isEmpty())
        card.setGivenName(s);
    if (const QString s = textOf(m_person[MidName], row); !s.isEmpty())
        card.setAdditionalNames(s);
    if (const QString s = textOf(m_person[Name], row); !s.isEmpty())
        card.setFormattedName(s);
    if (const QDate birthday = dateOf(m_person[Birthday], row); birthday.isValid())
        card.setBirthday(birthday);
    if (const QString s = textOf(m_person[Position], row); !s.isEmpty())
        card.setTitle(s);
    addTelephone(card, textOf(m_person[Phone], row), TypeFlag::Home);
    addTelephone(card, textOf(m_person[Mobile], row), TypeFlag::Cell);
    addTelephone(card, textOf(m_person[Pager], row), TypeFlag::Pager);
    addTelephone(card, textOf(m_person[DPhone], row), TypeFlag::Pref | TypeFlag::Work);
    addTelephone(card, textOf(m_person[Fax], row), TypeFlag::Home | TypeFlag::Fax);
    addEmail(card, textOf(m_person[EMail], row), TypeFlag::Home);
    addAddress(card, textOf(m_person[Address], row), textOf(m_person[Zip], row), AddressFlag::Home | AddressFlag::QuotedPrintable);
    addNote(card, textOf(m_person[Memo], row), NoteFlag::Home | NoteFlag::QuotedPrintable);
}

void EntryCards::addOrganisation(VCard &card, int row) const
{
    if (const QString s = textOf(m_organisation[Company], row); !s.isEmpty())
        card.setOrganisation(s, QString(), QString());
    addAddress(card, textOf(m_organisation[CAddress], row), textOf(m_organisation[CZip], row), AddressFlag::Work | AddressFlag::QuotedPrintable);
    addTelephone(card, textOf(m_organisation[CPhone], row), TypeFlag::Work);
    addTelephone(card, textOf(m_organisation[CFax], row), TypeFlag::Work | TypeFlag::Fax);
    addNote(card, textOf(m_organisation[CMemo], row), NoteFlag::Work | NoteFlag::QuotedPrintable);
    addEmail(card, textOf(m_organisation[CEMail], row), TypeFlag::Work);
}

} // namespace qv::vcard
