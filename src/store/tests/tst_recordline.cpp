#include "store/recordline.h"

#include <QTest>

// The parser looks for separators eight bytes at a time; every field length
// around that width, and bytes that differ from the separator by one bit or
// one value, must still split a line exactly where its separators are.
class TestRecordLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_findsEverySeparator_data()
    {
        QTest::addColumn<char>("filler");
        for (const char filler : {'{', '}', '~', '<', '\\', '\x00', '\xFC', '\xFF'})
            QTest::addRow("%d", static_cast<unsigned char>(filler)) << filler;
    }

    void parse_findsEverySeparator()
    {
        QFETCH(char, filler);
        for (qsizetype first = 0; first < 18; ++first) {
            for (qsizetype others = 0; others < 18; others += 5) {
                QList<QByteArray> fields{QByteArray(first, filler)};
                while (fields.size() < RegistrationRecord::FieldCount)
                    fields.append(QByteArray(others + fields.size(), filler));
                const RegistrationRecord record(
                    {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]});
                QCOMPARE(ParseRecordLine(FormatRecordLine(record, LineBreak::Omit)), record);
            }
        }
    }

    // A line cut short keeps the fields it has; the rest are empty.
    void parse_shortLine()
    {
        const RegistrationRecord record = ParseRecordLine("A long product name|Registrant|CU-1");
        QCOMPARE(record, RegistrationRecord({"A long product name", "Registrant", "", "", "", "", ""}));
    }
};

QTEST_GUILESS_MAIN(TestRecordLine)
#include "tst_recordline.moc"
