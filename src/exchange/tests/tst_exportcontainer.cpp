#include "exchange/exportcontainer.h"

#include <QTest>

using Databases = ExportContainer::Databases;
using Sizes = ExportContainer::Sizes;
using namespace Qt::StringLiterals;

namespace {

// Header and zero byte of a version 2.0 container.
const QByteArray Prefix("Tv..K-N....200........\0", 23);

// A container with that header: the size fields, then the contents.
QByteArray Container(QByteArrayView sizesAndContents)
{
    return Prefix + sizesAndContents.toByteArray();
}

} // namespace

class TestExportContainer : public QObject
{
    Q_OBJECT

private slots:
    void toBytes_exactLayout_data()
    {
        QTest::addColumn<Databases>("databases");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no databases") << Databases{} << Container("00000000" "00000000" "00000000" "00000000");
        QTest::newRow("only database 3")
            << Databases{{{}, {}, "abc\r\n", {}}} << Container("00000000" "00000000" "00000005" "00000000" "abc\r\n");
        QTest::newRow("all four, in order")
            << Databases{{"1", "22", "333", "4444"}}
            << Container("00000001" "00000002" "00000003" "00000004" "1223334444");
        QTest::newRow("upper-case hex")
            << Databases{{QByteArray(431, 'x'), {}, {}, {}}}
            << Container("000001AF" "00000000" "00000000" "00000000") + QByteArray(431, 'x');
        QTest::newRow("1,234 bytes")
            << Databases{{{}, {}, {}, QByteArray(1234, '\0')}}
            << Container("00000000" "00000000" "00000000" "000004D2") + QByteArray(1234, '\0');
    }

    void toBytes_exactLayout()
    {
        QFETCH(Databases, databases);
        QFETCH(QByteArray, bytes);
        const ExportContainer container(databases);
        QCOMPARE(container.ToBytes(), bytes);
        QCOMPARE(container.Length(), bytes.size());
    }

    void fitsLimit_data()
    {
        QTest::addColumn<qsizetype>("contentLength");
        QTest::addColumn<bool>("fits");
        QTest::newRow("empty") << qsizetype(0) << true;
        QTest::newRow("exactly 32,768 in all") << qsizetype(32713) << true;
        QTest::newRow("one byte over") << qsizetype(32714) << false;
    }

    void fitsLimit()
    {
        QFETCH(qsizetype, contentLength);
        QFETCH(bool, fits);
        // Spread over two databases: the limit is on the whole container.
        const qsizetype first = contentLength / 2;
        const QByteArray third(contentLength - first, 'c');
        const ExportContainer container(Databases{{QByteArray(first, 'a'), {}, third, {}}});
        QCOMPARE(container.FitsLimit(), fits);
    }

    void readSizes_data()
    {
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<std::optional<Sizes>>("sizes");
        const std::optional<Sizes> rejected;
        QTest::newRow("all zero") << Container("00000000" "00000000" "00000000" "00000000") << std::optional(Sizes{});
        QTest::newRow("upper, lower and mixed case")
            << Container("000001AF" "000001af" "00007fFF" "00000010") << std::optional(Sizes{431, 431, 32767, 16});
        QTest::newRow("content after the sizes is not read")
            << Container("00000000" "00000000" "00000000" "00000001" "trailing") << std::optional(Sizes{0, 0, 0, 1});
        QTest::newRow("header and zero byte are not read")
            << QByteArray(23, '\xff') + "00000002" "00000000" "00000000" "00000000" << std::optional(Sizes{2, 0, 0, 0});
        QTest::newRow("32,768 is too large") << Container("00000000" "00000000" "00000000" "00008000") << rejected;
        QTest::newRow("largest field") << Container("FFFFFFFF" "00000000" "00000000" "00000000") << rejected;
        QTest::newRow("letter beyond F") << Container("00000000" "0000000G" "00000000" "00000000") << rejected;
        QTest::newRow("blank") << Container("00000000" " 0000001" "00000000" "00000000") << rejected;
        QTest::newRow("sign") << Container("00000000" "+0000001" "00000000" "00000000") << rejected;
        QTest::newRow("hex prefix") << Container("00000000" "00000000" "00000000" "0x000001") << rejected;
        QTest::newRow("zero byte in a field")
            << Container(QByteArrayView("0000000\0" "00000000" "00000000" "00000000", 32)) << rejected;
        QTest::newRow("one byte short of the sizes")
            << Container("00000000" "00000000" "00000000" "0000000") << rejected;
        QTest::newRow("empty") << QByteArray() << rejected;
    }

    void readSizes()
    {
        QFETCH(QByteArray, container);
        QFETCH(std::optional<Sizes>, sizes);
        QCOMPARE(ExportContainer::ReadSizes(container), sizes);
    }
};

QTEST_GUILESS_MAIN(TestExportContainer)
#include "tst_exportcontainer.moc"
