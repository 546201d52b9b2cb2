#include "views/inputfield.h"
#include "views/linkcolour.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Address = u"someone@example.org"_s;

void MoveOver(InputField &field)
{
    QTest::mouseMove(&field, QPoint(5, field.height() / 2));
    QTest::mouseMove(&field, QPoint(10, field.height() / 2));
}

} // namespace

class TestInputField : public QObject
{
    Q_OBJECT

private slots:
    void unstorableCharacters_areDropped_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const char *ways[] = {"typed", "pasted", "inserted by a screen reader"};
        for (int way = 0; way < 3; ++way) {
            QTest::addRow("%s separator", ways[way]) << way << u"a|b"_s << u"ab"_s;
            QTest::addRow("%s Windows-1252 extras kept", ways[way]) << way << u"€™é"_s << u"€™é"_s;
            QTest::addRow("%s outside Windows-1252", ways[way]) << way << u"a\u0101b"_s << u"ab"_s;
        }
    }

    void unstorableCharacters_areDropped()
    {
        QFETCH(int, way);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        InputField field(1);
        field.show();
        if (way == 1) {
            QApplication::clipboard()->setText(input);
            field.paste();
        } else if (way == 2) {
            QAccessible::queryAccessibleInterface(&field)->editableTextInterface()->insertText(0, input);
        } else {
            for (const QChar c : input)
                QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(field.text(), expected);
    }

    // A screen reader speaks a line run by run; a run that ends short drops
    // the last character of a registration code.
    void screenReader_hearsTheWholeText_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("first character") << 0;
        QTest::newRow("last character") << 10;
        QTest::newRow("after the last") << 11;
    }

    void screenReader_hearsTheWholeText()
    {
        QFETCH(int, offset);
        InputField field(1);
        field.setText(u"Studio 2024"_s);
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&field)->textInterface();
        int start = -1;
        int end = -1;
        QCOMPARE(text->attributes(offset, &start, &end), QString());
        QCOMPARE(std::pair(start, end), std::pair(0, 11));
        QCOMPARE(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), u"Studio 2024"_s);
        QCOMPARE(text->textAtOffset(offset, QAccessible::WordBoundary, &start, &end),
                 offset == 0 ? u"Studio"_s : u"2024"_s);
    }

    // The caret stays right after what the paste kept, so typing goes on
    // where the user expects.
    void filteredPaste_leavesTheCaretAfterThePastedText()
    {
        InputField field(1);
        field.show();
        field.setText(u"abcd"_s);
        field.setCursorPosition(2);
        QApplication::clipboard()->setText(u"x|\u0101y"_s);
        field.paste();
        QCOMPARE(field.text(), u"abxycd"_s);
        QCOMPARE(field.cursorPosition(), 4);
    }

    void focusIn_caretAtEndNothingSelected_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty web contact") << 0 << u"http://"_s;
        QTest::newRow("empty product") << 1 << QString();
    }

    void focusIn_caretAtEndNothingSelected()
    {
        QFETCH(int, index);
        QFETCH(QString, expected);
        InputField field(index);
        QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(&field, &tabbedIn);
        QCOMPARE(field.text(), expected);
        QCOMPARE(field.cursorPosition(), expected.size());
        QVERIFY(!field.hasSelectedText());
    }

    void moveAndRelease_lightAndOpenAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("lit");
        QTest::addColumn<bool>("opens");
        QTest::newRow("several full stops") << u"www.example.de"_s << Qt::LeftButton << true << true;
        QTest::newRow("two letters after the only stop") << u"example.de"_s << Qt::LeftButton << false << false;
        QTest::newRow("prefix alone") << u"http://"_s << Qt::LeftButton << false << false;
        QTest::newRow("ends in its stop") << u"example."_s << Qt::LeftButton << false << false;
        QTest::newRow("e-mail, three letters") << Address << Qt::LeftButton << true << true;
        QTest::newRow("digits") << u"12.345"_s << Qt::LeftButton << true << true;
        QTest::newRow("right release") << Address << Qt::RightButton << true << false;
    }

    void moveAndRelease_lightAndOpenAddresses()
    {
        QFETCH(QString, text);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, lit);
        QFETCH(bool, opens);
        InputField field(InputField::WebContactIndex);
        field.setText(text);
        field.show();
        QSignalSpy litChanges(&field, &InputField::linkLitChanged);
        QSignalSpy openRequests(&field, &InputField::linkOpenRequested);

        MoveOver(field);
        QTest::mouseClick(&field, button, {}, QPoint(10, field.height() / 2));

        QCOMPARE(field.IsLinkLit(), lit);
        QCOMPARE(field.palette().color(QPalette::Text) == QColor(0, 0, 255), lit);
        QCOMPARE(litChanges.count(), lit ? 1 : 0);
        QCOMPARE(openRequests, opens ? QList<QList<QVariant>>{{text}} : QList<QList<QVariant>>());
    }

    // The design's blue where it reads, a lighter one on dark fields.
    void litLink_readsOnTheFieldsBackground_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("designBlue");
        QTest::newRow("white") << QColor(Qt::white) << true;
        QTest::newRow("light grey") << QColor(0xef, 0xef, 0xef) << true;
        QTest::newRow("dark grey") << QColor(0x3d, 0x3d, 0x3d) << false;
        QTest::newRow("black") << QColor(Qt::black) << false;
    }

    void litLink_readsOnTheFieldsBackground()
    {
        QFETCH(QColor, background);
        QFETCH(bool, designBlue);
        InputField field(InputField::WebContactIndex);
        QPalette colours = field.palette();
        colours.setColor(QPalette::Base, background);
        field.setPalette(colours);
        field.setText(Address);
        field.show();

        MoveOver(field);

        const QColor link = field.palette().color(QPalette::Text);
        QCOMPARE(link == QColor(0, 0, 255), designBlue);
        QVERIFY2(LinkColour::Contrast(link, background) >= 4.5, qPrintable(link.name()));
    }

    // Emptying a lit field and moving over it again leaves it lit, opening nothing.
    void litLink_staysLitUntilTurnedOff()
    {
        InputField field(InputField::WebContactIndex);
        field.setText(Address);
        const QColor plain = field.palette().color(QPalette::Text);
        field.show();
        MoveOver(field);
        field.clear();
        MoveOver(field);
        QSignalSpy openRequests(&field, &InputField::linkOpenRequested);
        QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(10, field.height() / 2));
        QVERIFY(field.IsLinkLit());
        QCOMPARE(openRequests.count(), 0);
        QSignalSpy litChanges(&field, &InputField::linkLitChanged);

        field.TurnLinkOff();

        QVERIFY(!field.IsLinkLit());
        QCOMPARE(field.palette().color(QPalette::Text), plain);
        QCOMPARE(litChanges.count(), 1);
        QCOMPARE(litChanges.first().first().toBool(), false);
    }
};

QTEST_MAIN(TestInputField)
#include "tst_inputfield.moc"
