#include "exchange/wab/WabImport.h"

#include "common/Error.h"
#include "common/Prompter.h"
#include "data/QuietView.h"
#include "data/TableView.h"
#include "editing/EditModel.h"
#include "editing/NameCut.h"
#include "editing/OrganisationSameName.h"
#include "exchange/SystemAddressBook.h"
#include "exchange/wab/AddressText.h"

#include <QRegularExpression>

namespace qv {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QStringList linesOf(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    return text.isEmpty() ? QStringList() : text.split(lineBreak);
}

void appendDetail(QString &memo, const QString &heading, const QString &value)
{
    if (!value.isEmpty())
        memo += kCrLf + heading + kCrLf + value;
}

QString memoOf(const AddressBookContact &c, const QLocale &locale)
{
    QString memo;
    for (const QString &line : linesOf(c.comment))
        memo += line + kCrLf;
    appendDetail(memo, QStringLiteral("Nickname:"), c.nickname);
    QString children;
    for (const QString &name : c.childrensNames)
        children += name + kCrLf;
    appendDetail(memo, QStringLiteral("Children name:"), children);
    appendDetail(memo, QStringLiteral("Spouse name:"), c.spouseName);
    // An absent anniversary reads as a time before this bound.
    static const QDateTime bound(QDate(1900, 1, 1), QTime(18, 0), Qt::UTC);
    if (c.weddingAnniversary.isValid() && c.weddingAnniversary > bound)
        appendDetail(memo, QStringLiteral("Wedding anniversary:"),
                     locale.toString(c.weddingAnniversary.date(), QLocale::ShortFormat));
    appendDetail(memo, QStringLiteral("Home page:"), c.personalHomePage);
    return memo;
}

// The default address first, then the further addresses of the list; its
// first entry is the default address again.
QString emailOf(const AddressBookContact &c)
{
    QStringList all;
    if (!c.emailAddress.isEmpty())
        all << c.emailAddress;
    for (qsizetype i = 1; i < c.emailAddresses.size(); ++i)
        all << c.emailAddresses[i];
    return all.join(QStringLiteral(", "));
}

QString organisationNameOf(const AddressBookContact &c, TableView &persons)
{
    QString name = c.companyName.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("QV Auto Org ") + persons.text(QStringLiteral("ClientID"));
    if (!c.department.trimmed().isEmpty())
        name += QStringLiteral(", ") + c.department.trimmed();
    return name;
}

OrganisationValues organisationValuesOf(const AddressBookContact &c)
{
    return {
        {QStringLiteral("CAddress"),
         addressText(c.businessStreet, c.businessCity, c.businessStateOrProvince, c.businessCountry)},
        {QStringLiteral("CZip"), c.businessPostalCode},
        {QStringLiteral("CPhone"), c.businessTelephone},
        {QStringLiteral("CFax"), c.businessFax},
        {QStringLiteral("CEMail"), QString()},
        {QStringLiteral("CMemo"), c.businessHomePage},
    };
}

void setText(TableView &persons, const char *field, const QString &text)
{
    persons.setValue(QString::fromLatin1(field), text);
}

// Adds the contact and counts it in the report; a contact without a usable
// name is left out and counted as such.
void importContact(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, const AddressBookContact &c,
                   const WabImportOptions &options, ImportReport &report)
{
    TableView &persons = editModel.persons();
    editModel.addPerson();
    NameCuts cuts;
    writeNameField(persons, QStringLiteral("Name"), c.displayName, cuts);
    QString name = c.displayName;
    bool nameChanged = true;
    bool partsChanged = false;
    cuts += editModel.applyNameStep(name, nameChanged, partsChanged);
    if (editModel.lastComposedName().trimmed().isEmpty()) {
        editModel.rollBack();
        ++report.blankNames;
        return;
    }
    for (const char *slot : {"Group1", "Group2", "Group3", "Group4"})
        persons.setValue(QString::fromLatin1(slot), qint32(1000));
    if (options.categoryNumber > 1000)
        persons.setValue(QStringLiteral("Group1"), qint32(options.categoryNumber));
    persons.setValue(QStringLiteral("Yellow"), false);
    setText(persons, "Position", c.title);
    setText(persons, "Phone", c.homeTelephone);
    setText(persons, "Pager", c.pager);
    setText(persons, "Mobile", c.mobileTelephone);
    setText(persons, "Fax", c.homeFax);
    // No birthday stays empty rather than a made-up date.
    persons.setValue(QStringLiteral("Birthday"), c.birthday.isValid() ? Value(c.birthday.date()) : Value());
    setText(persons, "Memo", memoOf(c, options.locale));
    setText(persons, "EMail", emailOf(c));
    setText(persons, "Address", addressText(c.homeStreet, c.homeCity, c.homeStateOrProvince, c.homeCountry));
    setText(persons, "Zip", c.homePostalCode);
    linkImportedOrganisation(editModel, prompter, comparer, options.checkSameName, organisationNameOf(c, persons),
                             organisationValuesOf(c));
    ++report.imported;
    report.cutNames += cuts.isEmpty() ? 0 : 1;
}

} // namespace

ImportReport importAddressBookContacts(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer,
                                       const QList<AddressBookContact> &contacts, const WabImportOptions &options)
{
    ImportReport report;
    {
        const QuietView quietPersons(editModel.persons());
        const QuietView quietOrganisations(editModel.organisations());
        try {
            for (const AddressBookContact &c : contacts)
                importContact(editModel, prompter, comparer, c, options, report);
        } catch (const Error &e) {
            prompter.message(e.text(), Prompter::Icon::Plain, Prompter::Button::Ok);
        }
        editModel.persons().changeCount(); // commits the rows still open
        editModel.organisations().changeCount();
    }
    return report;
}

std::optional<ImportReport> importWab(EditModel &editModel, Prompter &prompter, OrganisationComparer &comparer, const QString &path,
                       const WabImportOptions &options)
{
    QList<AddressBookContact> contacts;
    try {
        contacts = path.isEmpty() ? systemaddressbook::readCurrent(QDir::homePath(), options.locale)
                                   : systemaddressbook::readFile(path, options.locale);
    } catch (const Error &e) {
        prompter.message(e.text(), Prompter::Icon::Plain, Prompter::Button::Ok);
        return std::nullopt;
    }
    return importAddressBookContacts(editModel, prompter, comparer, contacts, options);
}

} // namespace qv
