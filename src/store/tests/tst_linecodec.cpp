#include "store/linecodec.h"

#include <QTest>

// Expected hex texts are worked out by hand: each plain byte exclusive-ored
// with the key byte at its position, "Korvane" repeating.
class TestLineCodec : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("as long as the key, small values padded")
            << QByteArray("abc|me|") << QByteArray("2A0D110A0C0B19");
        QTest::newRow("characters equal to the key") << QByteArray("Korvane") << QByteArray("00000000000000");
        QTest::newRow("one character: dot and five key characters") << QByteArray("|") << QByteArray("37413919131804");
        QTest::newRow("one shorter than the key: just the dot") << QByteArray("abcdef") << QByteArray("2A0D111204084B");
        QTest::newRow("empty: dot and six key characters") << QByteArray() << QByteArray("65241D04170F0B");
        QTest::newRow("longer than the key: key repeats")
            << QByteArray("|||||||\r\n") << QByteArray("37130E0A1D12194665");
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("\xE9\x80\x99\xFF|||||||") << QByteArray("A2EFEB891D121937130E0A");
    }

    void encode()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, hex);
        QCOMPARE(EncodeLine(plain, "Korvane"), hex);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("upper case") << QByteArray("2A0D110A0C0B19") << QByteArray("abc|me|");
        QTest::newRow("lower case") << QByteArray("2a0d110a0c0b19") << QByteArray("abc|me|");
        QTest::newRow("filler is kept") << QByteArray("37413919131804") << QByteArray("|.Korva");
        QTest::newRow("odd length: last digit alone") << QByteArray("2A0") << QByteArray("ao");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("non-hex pair gives nothing") << QByteArray("2A0DZZ0A") << QByteArray();
        QTest::newRow("half a hex pair gives nothing") << QByteArray("2A0G") << QByteArray();
        QTest::newRow("odd non-hex last digit") << QByteArray("2AG") << QByteArray();
        QTest::newRow("blank inside") << QByteArray("2A 0D") << QByteArray();
        QTest::newRow("sign is not a digit") << QByteArray("-1") << QByteArray();
    }

    void decode()
    {
        QFETCH(QByteArray, hex);
        QFETCH(QByteArray, plain);
        QCOMPARE(DecodeLine(hex, "Korvane"), plain);
    }

    void roundTrip_everyByteValue()
    {
        QByteArray plain;
        for (int value = 0; value < 256; ++value)
            plain.append(char(value));
        QCOMPARE(DecodeLine(EncodeLine(plain, CodecKey()), CodecKey()), plain);
    }

    // Long lines decode many digits at a time; damage anywhere in them, in
    // any byte that borders the digits' ranges, must still spoil the line.
    void decode_damageAnywhereInALongLine_data()
    {
        QTest::addColumn<char>("damage");
        for (const char damage : {'\0', ' ', '/', ':', '@', 'G', '`', 'g', '\x7F', '\x80', '\xB0', '\xC1', '\xFF'})
            QTest::newRow(QByteArray::number(static_cast<unsigned char>(damage)).constData()) << damage;
    }

    void decode_damageAnywhereInALongLine()
    {
        QFETCH(char, damage);
        const QByteArray hex =
            EncodeLine(QByteArray("Product|Registrant|CU-1|ABCD-EFGH|1/2/2024|www.example|x|"), CodecKey()) + '7';
        for (qsizetype at = 0; at < hex.size(); ++at) {
            QByteArray damaged = hex;
            damaged[at] = damage;
            QVERIFY2(DecodeLine(damaged, CodecKey()).isEmpty(), QByteArray::number(at).constData());
        }
    }

    void decode_longLineInLowerCase()
    {
        QByteArray plain;
        for (int value = 0; value < 256; ++value)
            plain.append(char(255 - value));
        QCOMPARE(DecodeLine(EncodeLine(plain, CodecKey()).toLower(), CodecKey()), plain);
    }

    void key_isTheApplicationTitle() { QCOMPARE(CodecKey(), QByteArrayView("Korvane")); }
};

QTEST_GUILESS_MAIN(TestLineCodec)
#include "tst_linecodec.moc"
