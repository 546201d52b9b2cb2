#include "exchange/csvreader.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Fields = QList<QStringList>;

// Every record's seven fields, a field the file does not give as "(none)".
Fields FieldsOf(const ImportedFile &file)
{
    Fields fields;
    for (const ImportedRecord &record : file.records) {
        QStringList texts;
        for (const std::optional<QString> &field : record.fields)
            texts.append(field.value_or(u"(none)"_s));
        fields.append(texts);
    }
    return fields;
}

} // namespace

class TestCsvReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<Fields>("records");
        QTest::addColumn<QStringList>("leftOut");
        const QStringList none;
        QTest::newRow("columns in any order and case, some missing, LF line ends")
            << QByteArray("registration, PRODUCT ,Database\nX1,P1,Games\n")
            << Fields{{u"P1"_s, u"(none)"_s, u"(none)"_s, u"X1"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s}} << none;
        QTest::newRow("byte order mark, quoted line breaks, doubled quotes, no last line end")
            << QByteArray("\xEF\xBB\xBFProduct,Registration\r\n\"a\r\nb\",\"say \"\"hi\"\"\"\r\n\"\",")
            << Fields{{u"a\r\nb"_s, u"(none)"_s, u"(none)"_s, u"say \"hi\""_s, u"(none)"_s, u"(none)"_s, u"(none)"_s},
                      {u""_s, u"(none)"_s, u"(none)"_s, u""_s, u"(none)"_s, u"(none)"_s, u"(none)"_s}}
            << none;
        QTest::newRow("empty lines are no records, a quoted empty field is one")
            << QByteArray("Product\r\n\r\nP1\r\n\r\n\"\"\r\n\r\n")
            << Fields{{u"P1"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s},
                      {u""_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s}}
            << none;
        QTest::newRow("unknown columns are left out")
            << QByteArray("Product,Notes\nP1,secret\n")
            << Fields{{u"P1"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s, u"(none)"_s}}
            << QStringList{u"the column \"Notes\" has no place in a record"_s};
        QTest::newRow("KeePassXC's CSV export, its own fields mapped as in KeePass XML")
            << QByteArray("\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
                          "\"Last Modified\",\"Created\"\n\"Korvane/Games\",\"Isles \"\"x\"\", y\",\"Ann\",\"CODE\","
                          "\"u\",\"\",\"\",\"0\",\"2026-12-04T01:35:24Z\",\"2024-01-02T03:04:05Z\"\n")
            << Fields{{u"Isles \"x\", y"_s, u"Ann"_s, u"(none)"_s, u"CODE"_s, u"u"_s, u"(none)"_s, u"(none)"_s}}
            << QStringList{u"the column \"Group\" has no place in a record"_s,
                           u"the column \"Notes\" has no place in a record"_s,
                           u"the column \"TOTP\" has no place in a record"_s,
                           u"the column \"Icon\" has no place in a record"_s,
                           u"the column \"Last Modified\" has no place in a record"_s,
                           u"the column \"Created\" has no place in a record"_s};
    }

    void read()
    {
        QFETCH(QByteArray, csv);
        QFETCH(Fields, records);
        QFETCH(QStringList, leftOut);
        const ImportedFile file = ReadCsv(csv);
        QCOMPARE(file.errors, QStringList());
        QCOMPARE(FieldsOf(file), records);
        QCOMPARE(file.leftOut, leftOut);
    }

    void refuse_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty file") << QByteArray() << u"the file is empty: it has no header line"_s;
        QTest::newRow("no header") << QByteArray("P1,R1\r\n")
                                   << u"the first line names no column of a record: Database, Product, Registrant, "
                                      "Customer ID, Registration, Web Contact, Registration Date, Recorded"_s;
        QTest::newRow("a column twice") << QByteArray("Product,product\r\n")
                                        << u"the header names the column \"product\" twice"_s;
        QTest::newRow("too few fields") << QByteArray("Product,Registrant\r\nP1\r\n")
                                        << u"line 2: 1 field where the header has 2"_s;
        QTest::newRow("quote inside a plain field")
            << QByteArray("Product\r\nP\"1\r\n") << u"line 2: a quote inside a field that does not start with one"_s;
        QTest::newRow("text after a closing quote")
            << QByteArray("Product\r\n\"P\"1\r\n") << u"line 2: text after the closing quote of a field"_s;
        QTest::newRow("quote never closed")
            << QByteArray("Product\r\n\r\n\"P1\r\nP2\r\n") << u"line 3: a quoted field is never closed"_s;
        QTest::newRow("not UTF-8")
            << QByteArray("Product\r\n\xC3\xA9\r\nCaf\xE9\r\n")
            << u"line 3: the file is not UTF-8 text; if it is Windows-1252, convert it with iconv -f WINDOWS-1252 -t UTF-8"_s;
        const QString semicolons = u"line 1: no column of a record between commas; are the fields separated by "
                                   "semicolons? Save the file with commas between fields"_s;
        QTest::newRow("separated by semicolons") << QByteArray("Product;Registration\r\nP;R\r\n") << semicolons;
        QTest::newRow("separated by semicolons, quoted")
            << QByteArray("\"Product\";\"Registration\"\r\n\"P\";\"R\"\r\n") << semicolons;
        QTest::newRow("a plain field longer than any record")
            << "Product\r\n" + QByteArray(16384, 'x') + "\r\n"
            << u"line 2: a field longer than the 16,383 characters a record holds"_s;
        QTest::newRow("a quoted field longer than any record")
            << "Product\r\n\"" + QByteArray(100000, 'x') + "\"\r\n"
            << u"line 2: a field longer than the 16,383 characters a record holds"_s;
    }

    void refuse()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, error);
        QCOMPARE(ReadCsv(csv).errors, QStringList{error});
    }
};

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csvreader.moc"
