#include "exchange/csvreader.h"
#include "exchange/csvwriter.h"
#include "exchange/importplan.h"
#include "exchange/jsonreader.h"
#include "exchange/jsonwriter.h"
#include "exchange/keepassxmlreader.h"
#include "exchange/keepassxmlwriter.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Records = QList<RegistrationRecord>;
using Reader = ImportedFile (*)(QByteArrayView);
using Writer = QByteArray (*)(const QList<DatabaseRecords> &);

// Fields that break naive writers: separators and quotes of every format,
// line breaks of both kinds, markup, blanks at the ends, Windows-1252 letters
// outside Latin-1, and all-empty fields.
const Records Tricky = {
    RegistrationRecord({"Caf\xE9, \"Bar\"", "\x80uro \x8A\x9E\xFF", "a\r\nb\nc\rd", "<x>&amp;</x>", " w ", "\t", "T1"}),
    RegistrationRecord({"", "", "", "", "", "", ""}),
    RegistrationRecord({"'single'", "back\\slash", "{\"json\": [1]}", "=1+2", "]]>", "\xA0\xAD", "T3"}),
};

// The records spread over the four databases, one empty.
QList<DatabaseRecords> Databases(const Records &records)
{
    return {{1, records.first(1)}, {2, {}}, {3, records.sliced(1)}, {4, {}}};
}

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead_givesBackEveryField_data()
    {
        QTest::addColumn<Writer>("write");
        QTest::addColumn<Reader>("read");
        QTest::newRow("csv") << Writer(WriteCsv) << Reader(ReadCsv);
        QTest::newRow("json") << Writer(WriteJson) << Reader(ReadJson);
        QTest::newRow("keepass-xml") << Writer(WriteKeePassXml) << Reader(ReadKeePassXml);
    }

    void writeThenRead_givesBackEveryField()
    {
        QFETCH(Writer, write);
        QFETCH(Reader, read);
        const ImportedFile file = read(write(Databases(Tricky)));
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(file.leftOut, QStringList());
        const ImportPlan plan = PlanImport(file.records, u"not used"_s, 0);
        QCOMPARE(plan.problems, QStringList());
        QCOMPARE(plan.records, Tricky);
    }

    // However large the file, a reader stops where a database's records end
    // and says where; nesting is bounded too, so no file can exhaust the stack.
    void readers_refuseWhatNoDatabaseHolds_data()
    {
        QTest::addColumn<Reader>("read");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        const QString tooMany = u"more than the 32,767 records a database holds"_s;
        QTest::newRow("csv") << Reader(ReadCsv) << "Product\r\n" + QByteArray("P\r\n").repeated(32768)
                             << u"line 32769: "_s + tooMany;
        QTest::newRow("json") << Reader(ReadJson) << "[" + QByteArray("{\"Product\": \",\"},").repeated(32767) + "{}]"
                              << u"byte %1: "_s.arg(1 + 17 * 32767 - 1) + tooMany;
        const QByteArray entries = QByteArray("<Entry/>").repeated(32768);
        QTest::newRow("keepass-xml") << Reader(ReadKeePassXml)
                                     << "<KeePassFile><Root><Group>" + entries + "</Group></Root></KeePassFile>"
                                     << u"line 1: "_s + tooMany;
        QTest::newRow("keepass-xml groups nested 15,000 deep")
            << Reader(ReadKeePassXml)
            << "<KeePassFile><Root>" + QByteArray("<Group>").repeated(15000) + QByteArray("</Group>").repeated(15000)
                   + "</Root></KeePassFile>"
            << u"line 1: groups nested more than 256 deep"_s;
    }

    void readers_refuseWhatNoDatabaseHolds()
    {
        QFETCH(Reader, read);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        const ImportedFile file = read(content);
        QCOMPARE(file.errors, QStringList{error});
        QVERIFY(file.records.size() <= 32768);
    }

    void readers_takeADatabasesWorth_data()
    {
        QTest::addColumn<Reader>("read");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("csv") << Reader(ReadCsv) << "Product\r\n" + QByteArray("P\r\n").repeated(32767);
        QTest::newRow("json") << Reader(ReadJson) << "[" + QByteArray("{},").repeated(32766) + "{}]";
    }

    void readers_takeADatabasesWorth()
    {
        QFETCH(Reader, read);
        QFETCH(QByteArray, content);
        const ImportedFile file = read(content);
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(file.records.size(), 32767);
    }

    void csv_isRfc4180InUtf8()
    {
        const QByteArray csv = WriteCsv({{3, {Tricky[0]}}});
        QCOMPARE(csv, "Database,Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,Recorded\r\n"
                      "Tools,\"Caf\xC3\xA9, \"\"Bar\"\"\",\xE2\x82\xAC"
                      "uro \xC5\xA0\xC5\xBE\xC3\xBF,\"a\r\nb\nc\rd\","
                      "<x>&amp;</x>, w ,\t,T1\r\n");
    }

    // Fields are looked at eight bytes at a time: a special character must be
    // found wherever it lies, and its neighbours in the byte order must not
    // be taken for it.
    void csv_quotesExactlyTheFieldsThatNeedIt_data()
    {
        QTest::addColumn<char>("character");
        QTest::addColumn<bool>("quoted");
        for (const char special : {',', '"', '\r', '\n'})
            QTest::addRow("%d needs quotes", special) << special << true;
        for (const char other : {'\t', '\v', '\f', '!', '#', '+', '-', '\xAC', '\xA2'})
            QTest::addRow("%d needs none", static_cast<unsigned char>(other)) << other << false;
    }

    void csv_quotesExactlyTheFieldsThatNeedIt()
    {
        QFETCH(char, character);
        QFETCH(bool, quoted);
        for (qsizetype at = 0; at < 20; ++at) {
            QByteArray field(20, 'x');
            field[at] = character;
            const Records records = {RegistrationRecord({field, "", "", "", "", "", "T"})};
            const QByteArray csv = WriteCsv({{1, records}});
            QCOMPARE(csv.contains(",\""), quoted);
            QCOMPARE(PlanImport(ReadCsv(csv).records, u"not used"_s, 0).records, records);
        }
    }

    void json_keepsColumnOrderAndEscapes()
    {
        const QByteArray json =
            WriteJson({{2, {RegistrationRecord({"P\x01", "\"", "\\", "\n", "\x80", "", ""})}}, {3, {}}});
        QCOMPARE(json, "[\n{\"Database\": \"Games\", \"Product\": \"P\\u0001\", \"Registrant\": \"\\\"\", "
                       "\"Customer ID\": \"\\\\\", \"Registration\": \"\\n\", \"Web Contact\": \"\xE2\x82\xAC\", "
                       "\"Registration Date\": \"\", \"Recorded\": \"\"}\n]\n");
    }

    void keepassXml_namesGroupsAndStringsAsKeePassDoes()
    {
        const QList<DatabaseRecords> databases = {{2, {Tricky[0]}}, {4, {}}};
        const QString xml = QString::fromUtf8(WriteKeePassXml(databases));
        QVERIFY(xml.contains(u"<Name>Games</Name>"_s));
        QVERIFY(xml.contains(u"<Name>Miscelaneous</Name>"_s));
        QVERIFY(!xml.contains(u"<Name>Tools</Name>"_s));
        for (const QString &key : {u"Title"_s, u"UserName"_s, u"Password"_s, u"URL"_s, u"Customer ID"_s,
                                   u"Registration Date"_s, u"Recorded"_s})
            QVERIFY2(xml.contains(u"<Key>%1</Key>"_s.arg(key)), qPrintable(key));
        QVERIFY(xml.contains(u"<Value ProtectInMemory=\"True\">&lt;x&gt;&amp;amp;&lt;/x&gt;</Value>"_s));
        // A raw carriage return would come back as a line feed.
        QVERIFY(xml.contains(u"a&#13;\nb\nc&#13;d"_s));
        // The same records give the same file, UUIDs included.
        QCOMPARE(WriteKeePassXml(databases), xml.toUtf8());
    }

    void keepassXmlObstacles_nameEveryControlCharacterItLoses()
    {
        const QList<DatabaseRecords> records = {
            {1,
             {RegistrationRecord({"fine", "tab\tLF\nCR\r", "", "", "", "", ""}),
              RegistrationRecord({"nul", "", QByteArray("\x00x", 2), "", "", "", ""})}},
            {3, {RegistrationRecord({"c1", "", "", "\x81", "", "\x7F", ""})}},
        };
        QCOMPARE(
            KeePassXmlObstacles(records),
            (QStringList{
                u"Work applications, record 2 (\"nul\"), Customer ID: the control character U+0000, which KeePass XML loses"_s,
                u"Tools, record 1 (\"c1\"), Registration: the control character U+0081, which KeePass XML loses"_s,
                u"Tools, record 1 (\"c1\"), Registration Date: the control character U+007F, which KeePass XML loses"_s,
            }));
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
