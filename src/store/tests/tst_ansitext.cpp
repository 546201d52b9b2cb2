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

    // Typed text, what a field keeps of it, and the bytes that go to disk.
    void storedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252 letters") << u"é€™ÿŸ"_s << QByteArray("\xE9\x80\x99\xFF\x9F");
        QTest::newRow("Latin Extended-A outside it") << u"aĀb"_s << QByteArray("ab");
        QTest::newRow("CJK") << u"名前x"_s << QByteArray("x");
        QTest::newRow("emoji as surrogates") << u"a😀"_s << QByteArray("a");
    }

    void storedText()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        const QString kept = AnsiText::Representable(typed);
        QCOMPARE(AnsiText::FromUnicode(kept), bytes);
        QCOMPARE(AnsiText::ToUnicode(bytes), kept);
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_ansitext.moc"
