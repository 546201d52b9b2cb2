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
        const QString text = AnsiText::ToUnicode(bytes);
        QCOMPARE(text.size(), 256);
        QCOMPARE(AnsiText::FromUnicode(text), bytes);
    }

    void windows1252Characters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("e acute") << u"é"_s << QByteArray("\xE9");
        QTest::newRow("euro") << u"€"_s << QByteArray("\x80");
        QTest::newRow("trade mark") << u"™"_s << QByteArray("\x99");
        QTest::newRow("y diaeresis") << u"ÿ"_s << QByteArray("\xFF");
        QTest::newRow("Y diaeresis") << u"Ÿ"_s << QByteArray("\x9F");
    }

    void windows1252Characters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiText::FromUnicode(text), bytes);
        QCOMPARE(AnsiText::ToUnicode(bytes), text);
    }

    void representable_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << u"Abc 1.0"_s << u"Abc 1.0"_s;
        QTest::newRow("Windows-1252 only") << u"ŒŠ€"_s << u"ŒŠ€"_s;
        QTest::newRow("Latin Extended-A outside it") << u"aĀb"_s << u"ab"_s;
        QTest::newRow("CJK") << u"名前x"_s << u"x"_s;
        QTest::newRow("emoji as surrogates") << u"a😀"_s << u"a"_s;
    }

    void representable()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(AnsiText::Representable(typed), kept);
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
