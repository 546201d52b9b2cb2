#include "store/ansitext.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestAnsiText : public QObject
{
    Q_OBJECT

private slots:
    void everyByte_survivesARoundTrip()
    {
        QByteArray bytes;
        for (int value = 0; value < 256; ++value)
            bytes.append(char(value));
        QCOMPARE(AnsiText::FromUnicode(AnsiText::ToUnicode(bytes)), bytes);
    }

    void windows1252Letters_mapToTheirBytes()
    {
        const QString text = u"é€™ÿŸ"_s;
        const QByteArray bytes("\xE9\x80\x99\xFF\x9F");
        QCOMPARE(AnsiText::FromUnicode(text), bytes);
        QCOMPARE(AnsiText::ToUnicode(bytes), text);
    }

    // ASCII goes across four characters at a time: a character outside
    // Windows-1252 is dropped wherever it lies among them, even one whose
    // low byte reads as ASCII (U+0141 as "A").
    void fromUnicode_dropsWhatWindows1252Lacks_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("Ł, low byte A") << u"Ł"_s << QByteArray();
        QTest::newRow("名") << u"名"_s << QByteArray();
        QTest::newRow("€") << u"€"_s << QByteArray("\x80");
        QTest::newRow("é") << u"é"_s << QByteArray("\xE9");
    }

    void fromUnicode_dropsWhatWindows1252Lacks()
    {
        QFETCH(QString, character);
        QFETCH(QByteArray, stored);
        for (qsizetype before = 0; before <= 9; ++before) {
            const QString text = u"abcdefghi"_s.first(before) + character + u"jklmnopqr"_s;
            QCOMPARE(AnsiText::FromUnicode(text), QByteArray("abcdefghi").first(before) + stored + "jklmnopqr");
        }
    }

    void charactersOutsideWindows1252_areNotRepresentable_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("Latin Extended-A") << u"Ā"_s;
        QTest::newRow("CJK") << u"名"_s;
        QTest::newRow("surrogate half") << u"😀"_s.first(1);
    }

    void charactersOutsideWindows1252_areNotRepresentable()
    {
        QFETCH(QString, character);
        QVERIFY(!AnsiText::IsRepresentable(character.at(0)));
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
