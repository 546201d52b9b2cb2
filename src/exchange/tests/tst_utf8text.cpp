#include "exchange/utf8text.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Printable ASCII is written eight bytes at a time and everything else a
// byte at a time; a byte must come out the same whichever way it goes.
class TestUtf8Text : public QObject
{
    Q_OBJECT

private slots:
    void everyByteAnywhereInALongField_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("exact") << false;
        QTest::newRow("visible") << true;
    }

    void everyByteAnywhereInALongField()
    {
        QFETCH(bool, visible);
        const auto write = [visible](QByteArrayView ansi) {
            QByteArray utf8;
            visible ? Utf8Text::AppendVisible(utf8, ansi) : Utf8Text::AppendExact(utf8, ansi);
            return utf8;
        };
        for (int value = 0; value < 256; ++value) {
            const char byte = char(value);
            const QByteArray alone = write(QByteArrayView(&byte, 1));
            for (qsizetype at = 0; at < 20; ++at) {
                QByteArray field(20, 'x');
                field[at] = byte;
                const QByteArray expected = QByteArray(at, 'x') + alone + QByteArray(19 - at, 'x');
                QVERIFY2(write(field) == expected, qPrintable(u"byte %1 at %2"_s.arg(value).arg(at)));
            }
        }
    }

    void controlCharactersAreShownAsPictures()
    {
        QByteArray utf8;
        Utf8Text::AppendVisible(utf8, "line\none\x1B[0m\x7F");
        QCOMPARE(utf8, "line\xE2\x90\x8Aone\xE2\x90\x9B[0m\xE2\x90\xA1");
    }
};

QTEST_GUILESS_MAIN(TestUtf8Text)
#include "tst_utf8text.moc"
