#include "exchange/vcard/VCardImport.h"

#include "common/Error.h"
#include "common/Prompter.h"
#include "data/QuietView.h"
#include "data/RecordTable.h"
#include "data/TableView.h"
#include "editing/EditModel.h"
#include "editing/NameCut.h"
#include "editing/OrganisationSameName.h"
#include "exchange/vcard/CardAddressText.h"
#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardFlags.h"
#include "exchange/vcard/VCardReader.h"

#include <QDir>
#include <QFile>

namespace qv::vcard {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kJoin = QStringLiteral(", ");
constexpr int kSkippedListed = 10; // cards named in the summary, so that it stays readable

void join(QString &joined, const QString &value)
{
    if (joined.isEmpty())
        joined = value;
    else
        joined += kJoin + value;
}

// Cards hold line breaks as LF; memos keep CR LF.
QString memoLines(QString text)
{
    return text.replace(QLatin1String("\n"), kCrLf);
}

bool isWork(quint16 flags)
{
    return flags & TypeFlag::Work;
}

// The person's values on the card; the organisation's are gathered apart.
struct PersonValues {
    QString phone, fax, pager, mobile, directPhone, memo, email, address, zip, url;
};

struct OrganisationCardValues {
    QString phone, fax, memo, email, address, zip, url;
};

void readTelephones(const VCard &card, PersonValues &p, OrganisationCardValues &o)
{
    for (int i = 0; i < card.telephoneCount(); ++i) {
        const QString number = card.telephone(i);
        const quint16 flags = card.telephoneTypes(i);
        const bool fax = flags & TypeFlag::Fax;
        if ((flags & TypeFlag::Home) && !fax)
            join(p.phone, number);
        if ((flags & TypeFlag::Home) && fax)
            p.fax = number;
        if (flags & TypeFlag::Pager)
            p.pager = number;
        if (flags & TypeFlag::Cell)
            p.mobile = number;
        if (isWork(flags) && (flags & TypeFlag::Pref))
            p.directPhone = number;
        if (isWork(flags) && !fax && !(flags & TypeFlag::Pref))
            join(o.phone, number);
        if (isWork(flags) && fax)
            o.fax = number;
    }
}

void readOtherItems(const VCard &card, PersonValues &p, OrganisationCardValues &o)
{
    for (int i = 0; i < card.noteCount(); ++i)
        (card.noteTypes(i) & NoteFlag::Work ? o.memo : p.memo) = memoLines(card.note(i));
    for (int i = 0; i < card.emailCount(); ++i)
        join(isWork(card.emailTypes(i)) ? o.email : p.email, card.email(i));
    for (int i = 0; i < card.addressCount(); ++i) {
        const PostalAddress address = card.address(i);
        const bool work = card.addressTypes(i) & AddressFlag::Work;
        (work ? o.address : p.address) = cardAddressText(address);
        (work ? o.zip : p.zip) = address.postalCode;
    }
    for (int i = 0; i < card.urlCount(); ++i)
        join(isWork(card.urlTypes(i)) ? o.url : p.url, card.url(i));
    if (!p.url.isEmpty())
        p.memo = p.url + kCrLf + p.memo;
    if (!o.url.isEmpty())
        o.memo = o.url + kCrLf + o.memo;
}

// False when BDAY is there but names no date that the field can hold.
bool writeBirthday(TableView &persons, const VCard &card)
{
    const std::optional<VCardDate> birthday = card.birthday();
    const QDate date = birthday ? birthday->toDate() : QDate();
    persons.setValue(QStringLiteral("Birthday"), date.isValid() ? Value(date) : Value());
    return birthday || card.birthdayText().trimmed().isEmpty();
}

void setText(TableView &persons, const char *field, const QString &text)
{
    persons.setValue(QString::fromLatin1(field), text);
}

void fileIntoCategory(TableView &persons, int categoryNumber)
{
    for (const char *slot : {"Group1", "Group2", "Group3", "Group4"})
        persons.setValue(QString::fromLatin1(slot), qint32(1000));
    if (categoryNumber > 1000)
        persons.setValue(QStringLiteral("Group1"), qint32(categoryNumber));
    persons.setValue(QStringLiteral("Yellow"), false);
}

} // namespace

QString VCardImportReport::text() const
{
    QString text = entries.text();
    if (skipped.isEmpty())
        return text;
    text += skipped.size() == 1 ? QStringLiteral("\n1 card was skipped because its vCard text is broken:")
                                : QStringLiteral("\n%1 cards were skipped because their vCard text is broken:").arg(skipped.size());
    for (qsizetype i = 0; i < skipped.size() && i < kSkippedListed; ++i)
        text += QStringLiteral("\ncard %1: %2").arg(skipped[i].number).arg(skipped[i].reason);
    if (skipped.size() > kSkippedListed)
        text += QStringLiteral("\n…");
    return text;
}

void importCard(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, const VCard &card,
                const VCardImportOptions &options, ImportReport &report)
{
    TableView &persons = editModel.persons();
    editModel.addPerson();
    // The names as the card gives them: the card says how they split.
    NameCuts cuts;
    writeNameField(persons, QStringLiteral("Name"), card.formattedName(), cuts);
    writeNameField(persons, QStringLiteral("SurName"), card.familyName(), cuts);
    writeNameField(persons, QStringLiteral("GivenName"), card.givenName(), cuts);
    writeNameField(persons, QStringLiteral("MidName"), card.additionalNames(), cuts);
    setText(persons, "Position", card.title());
    PersonValues p;
    OrganisationCardValues o;
    readTelephones(card, p, o);
    readOtherItems(card, p, o);
    setText(persons, "Phone", p.phone);
    setText(persons, "Fax", p.fax);
    setText(persons, "Pager", p.pager);
    setText(persons, "Mobile", p.mobile);
    setText(persons, "DPhone", p.directPhone);
    const bool birthdayRead = writeBirthday(persons, card);
    setText(persons, "Memo", p.memo);
    setText(persons, "EMail", p.email);
    setText(persons, "Address", p.address);
    setText(persons, "Zip", p.zip);
    setText(persons, "URL", p.url);
    fileIntoCategory(persons, options.categoryNumber);
    QString organisation = card.organisationText();
    if (organisation.trimmed().isEmpty())
        organisation = QStringLiteral("QV Auto Org ") + persons.text(QStringLiteral("ClientID"));
    linkImportedOrganisation(editModel, prompter, comparer, options.checkSameName, organisation,
                             {{QStringLiteral("CAddress"), o.address},
                              {QStringLiteral("CZip"), o.zip},
                              {QStringLiteral("CPhone"), o.phone},
                              {QStringLiteral("CFax"), o.fax},
                              {QStringLiteral("CEMail"), o.email},
                              {QStringLiteral("CMemo"), o.memo}});
    ++report.imported;
    report.unreadableDates += birthdayRead ? 0 : 1;
    report.cutNames += cuts.isEmpty() ? 0 : 1;
}

std::optional<VCardImportReport> importVCardFile(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer,
                                                 const QString &path, const VCardImportOptions &options)
{
    std::vector<ReadCard> cards;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        cards = readVCards(file.readAll());
    } catch (const Error &e) {
        prompter.message(e.text(), Prompter::Icon::Plain, Prompter::Button::Ok);
        return std::nullopt;
    }
    if (cards.empty()) {
        prompter.message(QStringLiteral("No vCard found in %1.").arg(QDir::toNativeSeparators(path)), Prompter::Icon::Plain,
                         Prompter::Button::Ok);
        return std::nullopt;
    }
    VCardImportReport report;
    const QuietView quietPersons(editModel.persons());
    const QuietView quietOrganisations(editModel.organisations());
    try {
        // The new persons are sorted into the list once, after the last card.
        const RecordTable::OrderBatch personBatch(*editModel.persons().table());
        for (size_t i = 0; i < cards.size(); ++i) {
            if (cards[i].isBroken()) {
                report.skipped.append({int(i) + 1, cardFaultText(cards[i].fault)});
                continue;
            }
            importCard(editModel, prompter, comparer, VCard(std::move(cards[i].card)), options, report.entries);
        }
    } catch (const Error &e) {
        prompter.message(e.text(), Prompter::Icon::Plain, Prompter::Button::Ok);
    }
    editModel.persons().changeCount(); // commits the rows still open
    editModel.organisations().changeCount();
    return report;
}

} // namespace qv::vcard
