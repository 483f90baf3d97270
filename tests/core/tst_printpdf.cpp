// Reports written as PDF by qvtool, read back with poppler's pdftotext: the
// positions on paper, in millimetres, of the bands and the first record.
#include "PersonFixture.h"

#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;

namespace {

constexpr double kLine = 25.4 * 12 / 96;
constexpr double kPointsPerMillimetre = 72 / 25.4;
// Poppler places a word's top by the font's ascent as the PDF declares it,
// Qt by the ascent it lays text out with; they differ by a fraction of a millimetre.
constexpr double kTolerance = 0.6;

struct Word {
    QString text;
    int page = 0;
    double x = 0; // mm
    double y = 0;
};

struct Run {
    int exitCode = -1;
    QString err;
};

// "Ann Able", "Bob Baker", "Cid Cole" and further persons P00, P01, ...;
// Ann works for Acme Ltd, the others for the default organisation.
QString writePackage(const QString &path, int extraPersons, const QString &firstName = "Ann Able")
{
    RecordTable persons(personFields());
    const auto add = [&](int id, const QString &name, const QString &surname) {
        persons.insertRow(test::person({{"ClientID", qint32(id)}, {"Name", name}, {"SurName", surname},
                                        {"OrgID", qint32(id == 1 ? 2001 : 0)}, {"Yellow", false},
                                        {"Position", QString("Chief")}, {"Phone", QString("555-%1").arg(id)}}));
    };
    add(1, firstName, "Able");
    add(2, "Bob Baker", "Baker");
    add(3, "Cid Cole", "Cole");
    for (int i = 0; i < extraPersons; ++i)
        add(100 + i, QString("P%1").arg(i, 2, 10, QChar('0')), QString("Z%1").arg(i, 2, 10, QChar('0')));
    RecordTable organisations(organisationFields());
    organisations.insertRow({qint32(0), QString("Nobody Ltd")});
    organisations.insertRow({qint32(2001), QString("Acme Ltd"), QString("Harbour Road 1")});
    const QDateTime t(QDate(2025, 1, 1), QTime(0, 0));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(archive::buildArchive({{"Names.dbf", writeTableBytes(persons), t},
                                   {"Agents.dbf", writeTableBytes(organisations), t},
                                   {"tree.dff", "All\r\n", t},
                                   {"treeno.dff", "1000\r\n", t},
                                   {"surname.dff", "", t}},
                                  QString()));
    return path;
}

// Runs qvtool on the program directory home. Its runtime folder is one of
// its own, as a desktop session gives, so that Qt has nothing to say on
// stderr and what stands there is the program's own.
Run qvtool(const QString &home, const QString &runtimeDir, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUORVEL_HOME", home);
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QVTOOL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

QString output(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<Word> words(const QString &pdf)
{
    const QString html = output("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression pageOrWord(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> result;
    int page = 0;
    for (auto it = pageOrWord.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        QString text = m.captured(3);
        text.replace("&apos;", "'").replace("&amp;", "&");
        result.push_back({text, page, m.captured(1).toDouble() / kPointsPerMillimetre,
                          m.captured(2).toDouble() / kPointsPerMillimetre});
    }
    return result;
}

std::optional<Word> firstWord(const QList<Word> &all, const QString &text)
{
    for (const Word &w : all) {
        if (w.text == text)
            return w;
    }
    return std::nullopt;
}

int pageCount(const QString &pdf)
{
    static const QRegularExpression pages(R"(Pages:\s+(\d+))");
    return pages.match(output("pdfinfo", {pdf})).captured(1).toInt();
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void positions_data();
    void positions();
    void threeCardsOnOnePage();
    void phoneListInThreeColumns();
    void templateSetsFontsAndLines();
    void wideCharactersHaveAFont();
    void refusals_data();
    void refusals();
    void damagedTemplatePrints();

private:
    QString home() const { return m_dir.path() + "/home"; }
    QString runtimeDir() const { return m_dir.path() + "/runtime"; }
    QString print(const QString &package, const QStringList &options, const QString &name = "out.pdf");
    QTemporaryDir m_dir;
};

void TestPrintPdf::initTestCase()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() || QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(runtimeDir()));
    QVERIFY(QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // The owner's name the reports carry.
    QVERIFY(QDir().mkpath(home()));
    QFile settings(home() + "/aa.ini");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[MiscOption]\nOwnerName=Kim\n");
}

QString TestPrintPdf::print(const QString &package, const QStringList &options, const QString &name)
{
    const QString pdf = m_dir.filePath(name);
    QFile::remove(pdf);
    const Run r = qvtool(home(), runtimeDir(), QStringList{"print", package, "--pdf", pdf} + options);
    if (r.exitCode != 0)
        qWarning() << r.err;
    return r.exitCode == 0 ? pdf : QString();
}

void TestPrintPdf::positions_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");

    const double top = 20.6;
    // Distances of the tables from the left margin, plus the 10 mm margin.
    const auto row = [](const char *name, const char *mode, const char *word, double x, double y) {
        QTest::newRow(name) << QString(mode) << QString(word) << x + 10 << y;
    };
    row("cards: title", "cards", "Kim's", 5.3, 10.0);
    row("cards: footer", "cards", "Quorvel", 26.5, 281.2);
    row("cards: page number", "cards", "1", 175.2, 281.2);
    row("cards: Name", "cards", "Ann", 0, top);
    row("cards: Position", "cards", "Chief", 63.0, top);
    row("cards: Tel caption", "cards", "Tel:", 3.2, top + 2 * kLine);
    row("cards: Phone", "cards", "555-1", 9.0, top + 2 * kLine);
    row("cards: Company", "cards", "Acme", 11.1, top + 5 * kLine);
    row("by name: Name", "name", "Ann", 0.5, top);
    row("by name: Position", "name", "Chief", 89.2, top);
    row("by name: Phone", "name", "555-1", 15.9, top + 2 * kLine);
    row("by name: Company", "name", "Acme", 7.9, top + 3 * kLine);
    row("by name: footer", "name", "Quorvel", 26.5, 281.2);
    row("by org: title", "organisation", "Kim's", 5.3, 10.0);
    row("by org: Company", "organisation", "Acme", 0.5, top);
    row("by org: CAddress", "organisation", "Harbour", 12.7, top + kLine);
    row("by org: Name", "organisation", "Ann", 5.8, top + 3 * kLine);
    row("by org: Phone", "organisation", "555-1", 154.5, top + 4 * kLine);
    row("phone: Name", "phone", "Ann", 0, top);
    row("phone: Phone", "phone", "555-1", 9.0, top + kLine);
    row("phone: Company", "phone", "Acme", 11.1, top + 4 * kLine);
    row("phone: page number", "phone", "1", 175.2, 281.2);
}

void TestPrintPdf::positions()
{
    QFETCH(QString, mode);
    QFETCH(QString, word);
    QFETCH(double, x);
    QFETCH(double, y);
    const QString pdf = print(writePackage(m_dir.filePath("book.qvp"), 0), {"--mode", mode});
    QVERIFY(!pdf.isEmpty());
    // The word may stand elsewhere too (a "1" in an address); it must stand here.
    QStringList seen;
    for (const Word &w : words(pdf)) {
        if (w.text != word)
            continue;
        if (w.page == 1 && qAbs(w.x - x) < kTolerance && qAbs(w.y - y) < kTolerance)
            return;
        seen << QString("page %1 at %2, %3 mm").arg(w.page).arg(w.x).arg(w.y);
    }
    QFAIL(qPrintable(word + " not in place; seen: " + seen.join("; ")));
}

void TestPrintPdf::threeCardsOnOnePage()
{
    const QString pdf = print(writePackage(m_dir.filePath("book.qvp"), 0), {"--mode", "cards"});
    QCOMPARE(pageCount(pdf), 1);
    const QList<Word> all = words(pdf);
    const double card = 10 * kLine;
    for (const auto &[name, index] : {std::pair{"Ann", 0}, {"Bob", 1}, {"Cid", 2}}) {
        const auto w = firstWord(all, name);
        QVERIFY(w);
        QVERIFY(qAbs(w->x - 10) < kTolerance);
        QVERIFY(qAbs(w->y - (20.6 + index * card)) < kTolerance);
    }
}

void TestPrintPdf::phoneListInThreeColumns()
{
    // 33 persons of 8 lines: ten to a column.
    const QString pdf = print(writePackage(m_dir.filePath("many.qvp"), 30), {"--mode", "phone"});
    QCOMPARE(pageCount(pdf), 2);
    const QList<Word> all = words(pdf);
    for (const auto &[name, left] : {std::pair{"P06", 10.0}, {"P07", 74.8}, {"P16", 74.8}, {"P17", 139.6}, {"P26", 139.6}}) {
        const auto w = firstWord(all, name);
        QVERIFY2(w && w->page == 1 && qAbs(w->x - left) < kTolerance, name);
    }
    QCOMPARE(firstWord(all, "P27")->page, 2);
}

void TestPrintPdf::templateSetsFontsAndLines()
{
    QDir().mkpath(home());
    QFile ini(home() + "/pt.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[CardTemplates]\ntemp0=Tall\nSelectedTemp=Tall\n[Tall]\nLine1=40\nLinec2=0\n");
    ini.close();
    const QString package = writePackage(m_dir.filePath("book.qvp"), 0);
    const QList<Word> tall = words(print(package, {"--mode", "cards"}));
    QVERIFY(qAbs(firstWord(tall, "Bob")->y - (20.6 + (40 + 8 * 12) * 25.4 / 96)) < kTolerance);
    const QList<Word> named = words(print(package, {"--mode", "cards", "--template", "Tall"}));
    QVERIFY(qAbs(firstWord(named, "Bob")->y - firstWord(tall, "Bob")->y) < 1e-3);
    QFile::remove(home() + "/pt.ini");
}

void TestPrintPdf::wideCharactersHaveAFont()
{
    const QString package = writePackage(m_dir.filePath("cjk.qvp"), 0, QString::fromUtf8("王小明"));
    const QString pdf = print(package, {"--mode", "cards"});
    QVERIFY(output("pdftotext", {pdf, "-"}).contains(QString::fromUtf8("王小明")));
    // The name's glyphs come from a font that has Chinese, not from the Latin one.
    // The PDF names its fonts by their PostScript names, which, unlike the font
    // database's family names, do not follow the system's language.
    const QString fonts = output("pdffonts", {pdf});
    bool chineseFont = false;
    for (const QString &font : output("fc-list", {":lang=zh-cn", "postscriptname"}).split('\n', Qt::SkipEmptyParts)) {
        const QString name = font.section('=', 1);
        chineseFont = chineseFont || (!name.isEmpty() && fonts.contains(name));
    }
    QVERIFY2(chineseFont, qPrintable(fonts));
}

void TestPrintPdf::refusals_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing listed") << QStringList{"--mode", "cards", "--filter", "OrgID=-1"} << 1
                                    << "Please specify what to print.\n";
    QTest::newRow("by org prints every organisation with people")
        << QStringList{"--mode", "organisation", "--filter", "OrgID=-1"} << 0 << "";
    QTest::newRow("unknown template") << QStringList{"--mode", "cards", "--template", "Nope"} << 1
                                      << "qvtool: no template \"Nope\" in " + QDir(m_dir.path()).absolutePath() + "/home/pt.ini\n";
    QTest::newRow("unknown mode") << QStringList{"--mode", "labels"} << 2
                                  << "Usage: qvtool print PACKAGE --mode cards|name|organisation|phone [--template NAME] "
                                     "[--filter EXPR] [--ignore-case] --pdf FILE\n";
}

void TestPrintPdf::refusals()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString pdf = m_dir.filePath("refused.pdf");
    QFile::remove(pdf);
    const Run r =
        qvtool(home(), runtimeDir(), QStringList{"print", writePackage(m_dir.filePath("book.qvp"), 0), "--pdf", pdf} + options);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.err, message); // the whole of it: an empty message is nothing at all
    QCOMPARE(QFile::exists(pdf), exitCode == 0);
}

void TestPrintPdf::damagedTemplatePrints()
{
    QDir().mkpath(home());
    QFile ini(home() + "/pt.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[PhoneListTemplates]\ntemp0=Bad\nSelectedTemp=Bad\n[Bad]\nPNameFontName=No Such Font\n"
              "PNameFontSize=huge\nLine1=-3\nLine2\nLinec3=x\nPPhoneFontColor=blue\n");
    ini.close();
    const QString pdf = print(writePackage(m_dir.filePath("book.qvp"), 0), {"--mode", "phone"});
    QFile::remove(home() + "/pt.ini");
    QVERIFY(!pdf.isEmpty());
    const QList<Word> all = words(pdf);
    QVERIFY(qAbs(firstWord(all, "Bob")->y - (20.6 + 8 * kLine)) < kTolerance); // default heights
}

QTEST_MAIN(TestPrintPdf)
#include "tst_printpdf.moc"
