#include "exchange/keepassxmlreader.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The shape KeePassXC's "export -f xml" gives, cut to what matters: an entry
// with an old version in its history, fields a record has no place for, a
// nested group, and a recycle bin with a deleted entry.
const QByteArray KeePassXcExport = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<KeePassFile>
	<Meta>
		<Generator>KeePassXC</Generator>
		<RecycleBinEnabled>True</RecycleBinEnabled>
		<RecycleBinUUID>cmVjeWNsZWJpbnJlY3ljbA==</RecycleBinUUID>
	</Meta>
	<Root>
		<Group>
			<UUID>cm9vdHJvb3Ryb290cm9vdA==</UUID>
			<Name>Passwords</Name>
			<Entry>
				<UUID>ZW50cnllbnRyeWVudHJ5MQ==</UUID>
				<String><Key>Notes</Key><Value>kept elsewhere</Value></String>
				<String><Key>Password</Key><Value ProtectInMemory="True">NEW-CODE</Value></String>
				<String><Key>Title</Key><Value>Studio</Value></String>
				<String><Key>UserName</Key><Value>Ann</Value></String>
				<String><Key>URL</Key><Value/></String>
				<String><Key>TOTP</Key><Value/></String>
				<Binary><Key>licence.txt</Key><Value Ref="0"/></Binary>
				<History>
					<Entry>
						<UUID>ZW50cnllbnRyeWVudHJ5MQ==</UUID>
						<String><Key>Password</Key><Value>OLD-CODE</Value></String>
						<String><Key>Title</Key><Value>Studio</Value></String>
					</Entry>
				</History>
			</Entry>
			<Group>
				<UUID>Z2FtZXNnYW1lc2dhbWVzZw==</UUID>
				<Name>Games</Name>
				<Entry>
					<String><Key>Title</Key><Value>Isles</Value></String>
					<String><Key>Recorded</Key><Value>12-04-2026 01:35:24</Value></String>
					<String><Key>Registration Date</Key><Value>2024</Value></String>
					<String><Key>Customer ID</Key><Value>C-1</Value></String>
				</Entry>
			</Group>
			<Group>
				<UUID>cmVjeWNsZWJpbnJlY3ljbA==</UUID>
				<Name>Recycle Bin</Name>
				<Entry>
					<String><Key>Title</Key><Value>Deleted</Value></String>
				</Entry>
			</Group>
		</Group>
	</Root>
</KeePassFile>
)";

} // namespace

class TestKeePassXmlReader : public QObject
{
    Q_OBJECT

private slots:
    void keePassXcExport_givesTheCurrentEntriesOnly()
    {
        const ImportedFile file = ReadKeePassXml(KeePassXcExport);
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(file.records.size(), 2);
        const ImportedRecord &studio = file.records[0];
        QCOMPARE(studio.Where(), u"line 12"_s);
        QCOMPARE(studio.fields[RegistrationRecord::Product], u"Studio"_s);
        QCOMPARE(studio.fields[RegistrationRecord::Registrant], u"Ann"_s);
        QCOMPARE(studio.fields[RegistrationRecord::Registration], u"NEW-CODE"_s);
        QCOMPARE(studio.fields[RegistrationRecord::WebContact], u""_s);
        QCOMPARE(studio.fields[RegistrationRecord::CustomerId], u""_s);
        // No Recorded field: the import gives it the time of the import.
        QCOMPARE(studio.fields[RegistrationRecord::Recorded], std::nullopt);
        const ImportedRecord &isles = file.records[1];
        QCOMPARE(isles.fields[RegistrationRecord::Product], u"Isles"_s);
        QCOMPARE(isles.fields[RegistrationRecord::CustomerId], u"C-1"_s);
        QCOMPARE(isles.fields[RegistrationRecord::RegistrationDate], u"2024"_s);
        QCOMPARE(isles.fields[RegistrationRecord::Recorded], u"12-04-2026 01:35:24"_s);
        QCOMPARE(file.leftOut, (QStringList{
                                   u"line 12: the field \"Notes\""_s,
                                   u"line 12: an attachment"_s,
                                   u"line 40: the entries of the recycle bin"_s,
                               }));
    }

    // The forms of XML text a KeePass file may use, each read as any XML
    // reader reads it.
    void xmlText_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("references") << QByteArray("&lt;&gt;&amp;&quot;&apos;&#13;&#x20AC;&#65;")
                                    << u"<>&\"'\r\u20acA"_s;
        QTest::newRow("line ends") << QByteArray("a\r\nb\rc\nd") << u"a\nb\nc\nd"_s;
        QTest::newRow("CDATA, comment, processing instruction")
            << QByteArray("<![CDATA[<&amp;>]]><!-- x --><?pi y?>z") << u"<&amp;>z"_s;
        QTest::newRow("empty element") << QByteArray() << u""_s;
    }

    void xmlText()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, text);
        const ImportedFile file = ReadKeePassXml("\xEF\xBB\xBF<?xml version=\"1.0\"?><!DOCTYPE KeePassFile>\n"
                                                 "<KeePassFile><Root><Group><Entry><String><Key>Title</Key>"
                                                 + (value.isEmpty() ? "<Value/>" : "<Value a='1'>" + value + "</Value>")
                                                 + "</String></Entry></Group></Root></KeePassFile>\n");
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(file.records.size(), 1);
        QCOMPARE(file.records.front().fields[RegistrationRecord::Product], text);
    }

    // A file cut anywhere is refused, never read past its end.
    void everyCutFile_isRefused()
    {
        for (qsizetype size = 0; size < KeePassXcExport.size() - 1; ++size)
            QVERIFY2(!ReadKeePassXml(KeePassXcExport.first(size)).errors.isEmpty(), qPrintable(QString::number(size)));
    }

    void refuse_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("error");
        QTest::newRow("another XML file") << QByteArray("<html><body/></html>")
                                          << u"line 1, column 1: not KeePass XML: the file does not start with "
                                             "<KeePassFile>"_s;
        QTest::newRow("broken XML") << QByteArray("<KeePassFile>\n<Root>\n<Group>\n</Root>")
                                    << u"line 4, column 1: Opening and ending tag mismatch."_s;
        const QByteArray entry = "\n<KeePassFile><Root><Group><Entry><String><Key>Title</Key><Value>a&e;b</Value>"
                                 "</String></Entry></Group></Root></KeePassFile>";
        const QString entities = u"line %1: the file declares entities (<!ENTITY>), which are not read"_s;
        QTest::newRow("external entity") << "<!DOCTYPE KeePassFile [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>"
                                                + entry
                                         << entities.arg(u"1, column 1"_s);
        QTest::newRow("internal entity") << "<?xml version=\"1.0\"?>\n<!DOCTYPE KeePassFile [<!ENTITY e \"x\">]>"
                                                + entry
                                         << entities.arg(u"2, column 1"_s);
        QTest::newRow("undeclared entity")
            << "<!DOCTYPE KeePassFile>" + entry << u"line 2, column 66: Entity 'e' not declared."_s;
        QTest::newRow("text after the end")
            << QByteArray("<KeePassFile/>\n<x/>") << u"line 2, column 1: Extra content at end of document."_s;
        QTest::newRow("cut short") << QByteArray("<KeePassFile><Root>")
                                   << u"line 1, column 20: Premature end of document."_s;
        QTest::newRow("not UTF-8") << QByteArray("<KeePassFile>\xE9</KeePassFile>")
                                   << u"the file is not UTF-8 text, as KeePass XML always is"_s;
        QTest::newRow("15,000 nested groups")
            << "<KeePassFile><Root>" + QByteArray("<Group>\n").repeated(15000) + "</Root></KeePassFile>"
            << u"line 999, column 1: elements nested more than 1000 deep"_s;
        QTest::newRow("encrypted value")
            << QByteArray("<KeePassFile><Root><Group><Entry>\n<String><Key>Password</Key>"
                          "<Value Protected=\"True\">c2VjcmV0</Value></String></Entry></Group></Root></KeePassFile>")
            << u"line 1: the value of \"Password\" is encrypted; export the database as plain XML"_s;
    }

    void refuse()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, error);
        QCOMPARE(ReadKeePassXml(xml).errors, QStringList{error});
    }
};

QTEST_GUILESS_MAIN(TestKeePassXmlReader)
#include "tst_keepassxmlreader.moc"
