#include "store/recordline.h"

#include <QTest>

#include <array>

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

    // A record whose text is 65,535 bytes or more finds its fields by their
    // separators instead of by the places a shorter one keeps; each field
    // must come back whole, wherever the long one lies.
    void longRecord_keepsEveryField_data()
    {
        QTest::addColumn<int>("longField");
        QTest::addColumn<int>("textSize");
        for (const int field : {0, 3, 6}) {
            for (const int textSize : {65534, 65535, 65536, 70000})
                QTest::addRow("field %d, %d bytes", field, textSize) << field << textSize;
        }
    }

    void longRecord_keepsEveryField()
    {
        QFETCH(int, longField);
        QFETCH(int, textSize);
        std::array<QByteArray, RegistrationRecord::FieldCount> fields;
        qsizetype others = 0;
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            fields[field] = QByteArray(field + 1, char('a' + field));
            others += field == longField ? 0 : field + 1;
        }
        fields[longField] = QByteArray(textSize - (RegistrationRecord::FieldCount - 1) - others, 'x');
        const RegistrationRecord record({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]});
        const RegistrationRecord parsed = ParseRecordLine(FormatRecordLine(record, LineBreak::Append));
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            QCOMPARE(record[RegistrationRecord::Field(field)], fields[field]);
            QCOMPARE(parsed[RegistrationRecord::Field(field)], fields[field]);
        }
    }

    // A line cut short keeps the fields it has; the rest are empty.
    void parse_shortLine()
    {
        const RegistrationRecord record = ParseRecordLine("A long product name|Registrant|CU-1");
        QCOMPARE(record, RegistrationRecord({"A long product name", "Registrant", "", "", "", "", ""}));
        const QByteArray longProduct(70000, 'x');
        const RegistrationRecord longRecord = ParseRecordLine(longProduct + "|Registrant|CU-1");
        QCOMPARE(longRecord[RegistrationRecord::Product], longProduct);
        QCOMPARE(longRecord[RegistrationRecord::Registrant], "Registrant");
        for (const auto field : {RegistrationRecord::CustomerId, RegistrationRecord::Recorded})
            QVERIFY(longRecord[field].isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecordLine)
#include "tst_recordline.moc"
