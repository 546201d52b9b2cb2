#include "exchange/csvreader.h"
#include "exchange/csvwriter.h"
#include "exchange/importplan.h"
#include "exchange/jsonreader.h"
#include "exchange/jsonwriter.h"
#include "exchange/keepasstimes.h"
#include "exchange/keepassxmlobstacles.h"
#include "exchange/keepassxmlreader.h"
#include "exchange/keepassxmlwriter.h"
#include "testsupport/testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Records = QList<RegistrationRecord>;
using Reader = ImportedFile (*)(QByteArrayView, const RecordTaker &);

// Every record's plan, as an import into an empty database keeping all.
ImportPlan Planned(const QList<ImportedRecord> &records)
{
    ImportPlanner planner(u"not used"_s, {}, Duplicates::Keep);
    for (const ImportedRecord &record : records)
        planner.Add(record);
    return planner.Finish();
}
using Writer = QByteArray (*)(const QList<DatabaseRecords> &);

// Fields that break naive writers: separators and quotes of every format,
// line breaks of both kinds, markup, blanks at the ends, Windows-1252 letters
// outside Latin-1, and all-empty fields.
const Records Tricky = {
    RegistrationRecord({"Caf\xE9, \"Bar\"", "\x80uro \x8A\x9E\xFF", "a\r\nb\nc\rd", "<x>&amp;</x>", " w ", "\t", "T1"}),
    RegistrationRecord({"", "", "", "", "", "", ""}),
    RegistrationRecord({"'single'", "back\\slash", "{\"json\": [1]}", "=1+2", "]]>", "\xA0\xAD", "T3"}),
};

// Every byte a format can carry, in one field: all but the field separator,
// and for KeePass XML all but the control characters it loses.
Records EveryByte(bool xml)
{
    QByteArray bytes;
    for (int code = 1; code < 256; ++code) {
        const bool lost = xml
                          && (code < 0x20 || code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F
                              || code == 0x90 || code == 0x9D);
        if (code != '|' && !lost)
            bytes += char(code);
    }
    return {RegistrationRecord({bytes, bytes.last(100), bytes.first(100), bytes, bytes, bytes, bytes})};
}

QByteArray WriteExactCsv(const QList<DatabaseRecords> &databases)
{
    return WriteCsv(databases);
}

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
        QTest::addColumn<Records>("records");
        QTest::addColumn<bool>("givesDatabase");
        QTest::newRow("csv") << Writer(WriteExactCsv) << Reader(ReadCsv) << Tricky + EveryByte(false) << true;
        QTest::newRow("json") << Writer(WriteJson) << Reader(ReadJson) << Tricky + EveryByte(false) << true;
        QTest::newRow("keepass-xml") << Writer(WriteKeePassXml) << Reader(ReadKeePassXml) << Tricky + EveryByte(true)
                                     << false;
    }

    void writeThenRead_givesBackEveryField()
    {
        QFETCH(Writer, write);
        QFETCH(Reader, read);
        QFETCH(Records, records);
        QFETCH(bool, givesDatabase);
        const ImportedFile file = read(write(Databases(records)), {});
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(file.leftOut, QStringList());
        const ImportPlan plan = Planned(file.records);
        QCOMPARE(plan.problems, QStringList());
        QCOMPARE(plan.records, records);
        if (givesDatabase) {
            QCOMPARE(file.records.front().database, u"Work applications"_s);
            QCOMPARE(file.records.back().database, u"Tools"_s);
        }
    }

    // A spreadsheet runs a cell that starts with these as a formula, or
    // splits it; anywhere else they are plain text.
    void csv_spreadsheetSafe_neutralisesTheStartOfACellOnly_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("safe");
        for (const char trigger : {'=', '+', '-', '@', '\t', '\r'}) {
            const QByteArray text = QByteArray(1, trigger) + "1+2";
            QTest::addRow("%d first", trigger) << text << "'" + text;
            QTest::addRow("%d second", trigger) << "x" + text << "x" + text;
        }
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void csv_spreadsheetSafe_neutralisesTheStartOfACellOnly()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, safe);
        const Records records = {RegistrationRecord({field, field, field, field, field, field, field})};
        const Records neutralised = {RegistrationRecord({safe, safe, safe, safe, safe, safe, safe})};
        const QList<DatabaseRecords> databases = {{1, records}};
        for (const CsvCells cells : {CsvCells::Exact, CsvCells::SpreadsheetSafe}) {
            const ImportedFile file = ReadCsv(WriteCsv(databases, cells));
            QCOMPARE(file.errors, QStringList());
            const ImportPlan plan = Planned(file.records);
            QCOMPARE(plan.problems, QStringList());
            QCOMPARE(plan.records, cells == CsvCells::Exact ? records : neutralised);
        }
    }

    // The JSON layout is written down as a JSON Schema for those who read
    // the exports: an export must meet it, and a file that strays from the
    // layout must not. python3-jsonschema judges, all files in one run, as
    // it is slow to start.
    void json_meetsItsSchema()
    {
        const QString schema = QFINDTESTDATA("../../../docs/korvane-records.schema.json");
        QVERIFY(!schema.isEmpty());
        const QByteArray json = WriteJson(Databases(Tricky + EveryByte(false)));
        QTemporaryDir folder;
        QStringList arguments{u"-c"_s, QString::fromLatin1(R"(import json, sys
try:
    import jsonschema
except ImportError:
    sys.exit(3)
schema = json.load(open(sys.argv[1], encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(schema)
for name in sys.argv[2:]:
    records = json.load(open(name, encoding="utf-8"))
    print("valid" if jsonschema.Draft202012Validator(schema).is_valid(records) else "invalid"))"),
                              schema};
        // As written, with a key misspelt, with a database misnamed.
        for (const QByteArray &misspelt : {QByteArray(), QByteArray("Web Contact"), QByteArray("Tools")}) {
            arguments.append(folder.filePath(u"records%1.json"_s.arg(arguments.size())));
            QVERIFY(TestFiles::Write(arguments.back(), QByteArray(json).replace(misspelt, misspelt.toLower())));
        }
        QProcess python;
        python.setProcessChannelMode(QProcess::MergedChannels);
        python.start(u"python3"_s, arguments);
        if (!python.waitForFinished(90000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() == 3)
            QSKIP("python3-jsonschema is not installed: the export was not checked against its schema");
        QCOMPARE(python.readAll(), "valid\ninvalid\ninvalid\n");
    }

    void json_refuse_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        QTest::newRow("a key twice") << QByteArray(
            "[\n{\"Product\": \"a\", \"Registration\": \"b\",\n \"Product\": \"c\"}]")
                                     << u"line 3, column 2: the key \"Product\" appears twice in one object, and only "
                                        "one can be read"_s;
        QTest::newRow("a key twice, once escaped")
            << QByteArray("[{\"\\u00c9\": {\"x\": \"\", \"y\": \"\"}, \"\xC3\x89\": \"\"}]")
            << u"line 1, column 33: the key \"\u00c9\" appears twice in one object, and only one can be read"_s;
        QTest::newRow("nested without end")
            << QByteArray(100000, '[') << u"not JSON at byte 1025: too deeply nested document"_s;
        QTest::newRow("not UTF-8")
            << QByteArray("[{\"Product\":\n \"Caf\xE9\"}]")
            << u"line 2, column 6: the file is not UTF-8 text; if it is Windows-1252, convert it with iconv -f "
               "WINDOWS-1252 -t UTF-8"_s;
    }

    void json_refuse()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QCOMPARE(ReadJson(json).errors, QStringList{error});
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
                                     << u"line 1, column 262163: "_s + tooMany;
        QTest::newRow("keepass-xml groups nested 15,000 deep")
            << Reader(ReadKeePassXml)
            << "<KeePassFile><Root>" + QByteArray("<Group>").repeated(15000) + QByteArray("</Group>").repeated(15000)
                   + "</Root></KeePassFile>"
            << u"line 1, column 7006: elements nested more than 1000 deep"_s;
    }

    void readers_refuseWhatNoDatabaseHolds()
    {
        QFETCH(Reader, read);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        const ImportedFile file = read(content, {});
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
        const ImportedFile file = read(content, {});
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
            QCOMPARE(Planned(ReadCsv(csv).records).records, records);
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

    // An entry's UUID is Qt's name-based one of its database, Product and
    // occurrence, however the name falls in SHA-1's 64-byte blocks.
    void keepassXml_entryUuidIsNameBased_data()
    {
        QTest::addColumn<int>("productBytes");
        for (const int bytes : {0, 35, 36, 43, 44, 99, 100, 300})
            QTest::addRow("%d-byte Product", bytes) << bytes;
    }

    void keepassXml_entryUuidIsNameBased()
    {
        QFETCH(int, productBytes);
        const QByteArray product(productBytes, '\xE9');
        const RegistrationRecord record({product, "", "", "x", "", "", ""});
        const QByteArray xml = WriteKeePassXml({{3, {record, record}}});
        const QUuid space = QUuid::createUuidV5(QUuid(u"{6ba7b811-9dad-11d1-80b4-00c04fd430c8}"_s),
                                                "https://tessaly.example/Korvane/"_ba);
        for (const char occurrence : {'0', '1'}) {
            const QByteArray name = "3\x1F" + product + '\x1F' + occurrence;
            QVERIFY(
                xml.contains("<Entry><UUID>" + QUuid::createUuidV5(space, name).toRfc4122().toBase64() + "</UUID>"));
        }
    }

    // Local times become UTC as Qt reads them in the zone, the clocks'
    // changes included, whatever order the records come in.
    void keepassTimes_areUtcAsTheZoneHasThem_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArrayList>("recorded");
        QTest::addColumn<QByteArrayList>("utc");
        QTest::newRow("UTC") << "UTC"_ba << QByteArrayList{"01-31-2024 13:45:00", "07-04-1999 00:00:00"}
                             << QByteArrayList{"2024-01-31T13:45:00Z", "1999-07-04T00:00:00Z"};
        QTest::newRow("summer and winter in turn")
            << "Europe/Berlin"_ba << QByteArrayList{"07-15-2024 12:00:00", "01-15-2024 12:00:00", "07-15-2023 12:00:00",
                                                    "07-16-2024 00:30:00", "12-31-1999 23:59:59", "01-01-1800 12:00:00"}
            << QByteArrayList{"2024-07-15T10:00:00Z", "2024-01-15T11:00:00Z", "2023-07-15T10:00:00Z",
                              "2024-07-15T22:30:00Z", "1999-12-31T22:59:59Z", "1800-01-01T11:06:32Z"};
        // An hour missing in spring, one twice in autumn.
        QTest::newRow("the clocks' changes")
            << "Europe/Berlin"_ba
            << QByteArrayList{"03-31-2024 01:59:59", "03-31-2024 02:30:00", "03-31-2024 03:00:00",
                              "10-27-2024 02:30:00", "10-27-2024 03:00:00"}
            << QByteArrayList{"2024-03-31T00:59:59Z", "2024-03-31T01:30:00Z", "2024-03-31T01:00:00Z",
                              "2024-10-27T01:30:00Z", "2024-10-27T02:00:00Z"};
        // The zone file lists changes up to 2037, a rule gives those after.
        QTest::newRow("from the last listed change on")
            << "Europe/Berlin"_ba << QByteArrayList{"10-25-2037 02:00:00", "07-15-2038 12:00:00"}
            << QByteArrayList{"2037-10-25T01:00:00Z", "2038-07-15T10:00:00Z"};
        // A Registration Date is the start of its day, which that day is one
        // o'clock, not the day before's eleven.
        QTest::newRow("a day that starts at one") << "America/Sao_Paulo"_ba
                                                  << QByteArrayList{"10-19-2013 23:59:59", "10-20-2013 00:00:00",
                                                                    "10-20-2013 01:00:00", "07-15-2024 12:00:00"}
                                                  << QByteArrayList{"2013-10-20T02:59:59Z", "2013-10-20T03:00:00Z",
                                                                    "2013-10-20T03:00:00Z", "2024-07-15T15:00:00Z"};
        QTest::newRow("a day skipped") << "Pacific/Apia"_ba
                                       << QByteArrayList{"12-29-2011 12:00:00", "12-31-2011 12:00:00"}
                                       << QByteArrayList{"2011-12-29T22:00:00Z", "2011-12-30T22:00:00Z"};
    }

    void keepassTimes_areUtcAsTheZoneHasThem()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArrayList, recorded);
        QFETCH(QByteArrayList, utc);
        KeePassTimes times{QTimeZone(zone)};
        for (qsizetype index = 0; index < recorded.size(); ++index) {
            const KeePassTimes::EntryTimes entry =
                times.Of(RegistrationRecord({"", "", "", "", "", "", recorded[index]}));
            QVERIFY2(entry.lastModification, recorded[index].constData());
            QCOMPARE(QByteArrayView(entry.lastModification->data(), entry.lastModification->size()), utc[index]);
        }
    }

    // A Registration Date that reads as a date is the entry's creation;
    // any other text leaves it to the Recorded stamp.
    void keepassTimes_creationIsTheRegistrationDate_data()
    {
        QTest::addColumn<QByteArray>("registrationDate");
        QTest::addColumn<QByteArray>("creation");
        const QByteArray recorded = "2020-01-02T03:04:05Z";
        for (const QByteArray date : {"2024-01-31", " 1/31/2024 ", "01-31-2024", "1.31.2024", "2024-1-31"})
            QTest::newRow(date.constData()) << date << "2024-01-31T00:00:00Z"_ba;
        for (const QByteArray text : {"2024/01/31", "31.1.24", "24-01-31", "12345-01-01", "2024-01-31x", "March 2004"})
            QTest::newRow(text.constData()) << text << recorded;
    }

    void keepassTimes_creationIsTheRegistrationDate()
    {
        QFETCH(QByteArray, registrationDate);
        QFETCH(QByteArray, creation);
        const KeePassTimes::EntryTimes entry =
            KeePassTimes(QTimeZone("UTC"))
                .Of(RegistrationRecord({"", "", "", "", "", registrationDate, "01-02-2020 03:04:05"}));
        QVERIFY(entry.creation);
        QCOMPARE(QByteArrayView(entry.creation->data(), entry.creation->size()), creation);
    }

    void keepassXmlObstacles_nameEveryControlCharacterItLoses()
    {
        const QList<DatabaseRecords> records = {
            {1,
             {RegistrationRecord({"fine", "tab\tLF\nCR\r", "\x80\x9F\xA0\xFF \x8A\xE9x", "", "", "", ""}),
              RegistrationRecord({"nul", "", QByteArray("0123456\x00x", 9), "", "", "", ""})}},
            {3,
             {RegistrationRecord({"c1", "", "", "caf\xE9 \x80 \x81", "", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", ""})}},
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
