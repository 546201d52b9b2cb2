#include "store/recordline.h"

#include <QTest>

class TestRecordLine : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<RegistrationRecord>("record");
        QTest::addColumn<bool>("lineBreak");
        QTest::addColumn<QByteArray>("line");
        const RegistrationRecord full = RegistrationRecord{{"P", "R", "C", "X", "W", "D", "T"}};
        QTest::newRow("date before web contact") << full << false << QByteArray("P|R|C|X|D|W|T|");
        QTest::newRow("rewrite form") << full << true << QByteArray("P|R|C|X|D|W|T|\r\n");
        QTest::newRow("all empty") << RegistrationRecord() << false << QByteArray("|||||||");
        QTest::newRow("blanks kept") << RegistrationRecord{{" a ", "", "", "x", "", "", ""}} << false
                                     << QByteArray(" a |||x||||");
    }

    void format()
    {
        QFETCH(RegistrationRecord, record);
        QFETCH(bool, lineBreak);
        QFETCH(QByteArray, line);
        QCOMPARE(FormatRecordLine(record, lineBreak ? LineBreak::Append : LineBreak::Omit), line);
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<RegistrationRecord>("record");
        const RegistrationRecord full = RegistrationRecord{{"P", "R", "C", "X", "W", "D", "T"}};
        QTest::newRow("appended form") << QByteArray("P|R|C|X|D|W|T|") << full;
        QTest::newRow("rewritten form") << QByteArray("P|R|C|X|D|W|T|\r\n") << full;
        QTest::newRow("encoder filler") << QByteArray("P|R|C|X|D|W|T|.Korva") << full;
        QTest::newRow("all empty") << QByteArray("|||||||\r\n") << RegistrationRecord();
        QTest::newRow("fewer fields: the rest empty")
            << QByteArray("P|R|C|") << RegistrationRecord{{"P", "R", "C", "", "", "", ""}};
        QTest::newRow("text without separator") << QByteArray("garbage") << RegistrationRecord();
        QTest::newRow("nothing") << QByteArray() << RegistrationRecord();
        QTest::newRow("more fields: the rest dropped")
            << QByteArray("P|R|C|X|D|W|T|extra|more|") << full;
    }

    void parse()
    {
        QFETCH(QByteArray, line);
        QFETCH(RegistrationRecord, record);
        QCOMPARE(ParseRecordLine(line), record);
    }
};

QTEST_GUILESS_MAIN(TestRecordLine)
#include "tst_recordline.moc"
