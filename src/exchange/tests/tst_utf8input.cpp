#include "exchange/utf8input.h"

#include <QTest>

// The check takes ASCII thirty-two and eight bytes at a time and the rest by
// Unicode's table of well-formed sequences; it must judge every sequence as
// Qt's own check does, wherever it lies among them.
class TestUtf8Input : public QObject
{
    Q_OBJECT

private slots:
    void isValid_judgesAsQtDoes_data()
    {
        QTest::addColumn<QList<QByteArray>>("sequences");
        const auto bytes = [](std::initializer_list<int> values) {
            QByteArray sequence;
            for (const int value : values)
                sequence.append(char(value));
            return sequence;
        };
        const QList<int> edges = {0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
        QList<QByteArray> pairs;
        for (int first = 0; first < 256; ++first) {
            for (int second = 0; second < 256; ++second)
                pairs.append(bytes({first, second}));
        }
        QList<QByteArray> longer;
        for (int lead = 0xE0; lead < 0x100; ++lead) {
            for (int second = 0x70; second < 0xD0; ++second) {
                for (const int third : edges) {
                    longer.append(bytes({lead, second, third}));
                    for (const int fourth : edges)
                        longer.append(bytes({lead, second, third, fourth}));
                }
            }
        }
        QTest::newRow("every two bytes") << pairs;
        QTest::newRow("three and four bytes about every edge") << longer;
    }

    void isValid_judgesAsQtDoes()
    {
        QFETCH(QList<QByteArray>, sequences);
        for (const QByteArray &sequence : sequences) {
            for (const int before : {0, 1, 2, 3, 4, 5, 6, 7, 8, 31, 32, 33, 39, 40, 41, 71}) {
                const QByteArray text = QByteArray(before, 'a') + sequence + QByteArray(9, 'z');
                if (Utf8Input::IsValid(text) != QByteArrayView(text).isValidUtf8())
                    QFAIL((sequence.toHex(' ') + " after " + QByteArray::number(before)).constData());
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestUtf8Input)
#include "tst_utf8input.moc"
