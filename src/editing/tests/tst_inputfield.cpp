#include "editing/view/inputfield.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class TestInputField : public QObject
{
    Q_OBJECT

private slots:
    void typedText_keepsOnlyStorableCharacters_data();
    void typedText_keepsOnlyStorableCharacters();
    void pastedText_keepsOnlyStorableCharacters_data();
    void pastedText_keepsOnlyStorableCharacters();
    void pasteInsideText_caretAfterPastedPart();
    void focusIn_caretAtEndNothingSelected_data();
    void focusIn_caretAtEndNothingSelected();
    void pointerMove_lightsLinkByTextAfterFirstStop_data();
    void pointerMove_lightsLinkByTextAfterFirstStop();
    void pointerMove_neverTurnsLinkOff();
    void turnLinkOff_restoresPlainLook();
    void turnLinkOff_whenPlain_emitsNothing();
    void release_opensOnlyLitTextWithLeftButton_data();
    void release_opensOnlyLitTextWithLeftButton();

private:
    static void Type(QWidget *field, const QString &text);
    static void MoveOver(InputField &field);
};

// Sends each character as its own keystroke, also those outside Latin-1.
void TestInputField::Type(QWidget *field, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void TestInputField::MoveOver(InputField &field)
{
    QTest::mouseMove(&field, QPoint(5, field.height() / 2));
    QTest::mouseMove(&field, QPoint(10, field.height() / 2));
}

namespace {

void AddFilterRows()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("separator alone") << u"|"_s << QString();
    QTest::newRow("separator between letters") << u"a|b"_s << u"ab"_s;
    QTest::newRow("Windows-1252 specials kept") << u"€™é"_s << u"€™é"_s;
    QTest::newRow("outside Windows-1252 removed") << u"a\u0101b"_s << u"ab"_s;
    QTest::newRow("only unstorable") << u"\u65E5\u672C|"_s << QString();
}

} // namespace

void TestInputField::typedText_keepsOnlyStorableCharacters_data()
{
    AddFilterRows();
}

void TestInputField::typedText_keepsOnlyStorableCharacters()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    InputField field(1);
    field.show();
    Type(&field, input);
    QCOMPARE(field.text(), expected);
}

void TestInputField::pastedText_keepsOnlyStorableCharacters_data()
{
    AddFilterRows();
}

void TestInputField::pastedText_keepsOnlyStorableCharacters()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    InputField field(2);
    QApplication::clipboard()->setText(input);
    field.paste();
    QCOMPARE(field.text(), expected);
}

void TestInputField::pasteInsideText_caretAfterPastedPart()
{
    InputField field(3);
    field.setText(u"xy"_s);
    field.setCursorPosition(1);
    QApplication::clipboard()->setText(u"a|\u0101b"_s);
    field.paste();
    QCOMPARE(field.text(), u"xaby"_s);
    QCOMPARE(field.cursorPosition(), 3);
}

void TestInputField::focusIn_caretAtEndNothingSelected_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedCursor");
    QTest::newRow("empty web contact gets prefix") << 0 << QString() << Qt::TabFocusReason << u"http://"_s << 7;
    QTest::newRow("filled web contact unchanged") << 0 << u"a.com"_s << Qt::TabFocusReason << u"a.com"_s << 5;
    QTest::newRow("empty product stays empty") << 1 << QString() << Qt::TabFocusReason << QString() << 0;
    QTest::newRow("tab into filled field") << 2 << u"Jane Doe"_s << Qt::TabFocusReason << u"Jane Doe"_s << 8;
    QTest::newRow("backtab into filled field") << 5 << u"01-02-2026"_s << Qt::BacktabFocusReason << u"01-02-2026"_s << 10;
    QTest::newRow("set by program") << 3 << u"ABC-123"_s << Qt::OtherFocusReason << u"ABC-123"_s << 7;
    QTest::newRow("window reactivated keeps caret") << 4 << u"ID 7"_s << Qt::ActiveWindowFocusReason << u"ID 7"_s << 0;
}

void TestInputField::focusIn_caretAtEndNothingSelected()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(Qt::FocusReason, reason);
    QFETCH(QString, expectedText);
    QFETCH(int, expectedCursor);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QLineEdit(&window);
    auto *field = new InputField(index, &window);
    layout->addWidget(other);
    layout->addWidget(field);
    field->setText(text);
    field->setCursorPosition(0);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    field->setFocus(reason);

    QVERIFY(field->hasFocus());
    QCOMPARE(field->text(), expectedText);
    QCOMPARE(field->cursorPosition(), expectedCursor);
    QVERIFY(!field->hasSelectedText());
}

void TestInputField::pointerMove_lightsLinkByTextAfterFirstStop_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lit");
    QTest::newRow("several stops, two letters last") << 0 << u"www.example.de"_s << true;
    QTest::newRow("one stop, two letters after") << 0 << u"example.de"_s << false;
    QTest::newRow("one stop, three letters after") << 0 << u"example.com"_s << true;
    QTest::newRow("prefix alone") << 0 << u"http://"_s << false;
    QTest::newRow("ends in its stop") << 0 << u"example."_s << false;
    QTest::newRow("empty") << 0 << QString() << false;
    QTest::newRow("e-mail, three letters") << 0 << u"someone@example.org"_s << true;
    QTest::newRow("digits") << 0 << u"12.345"_s << true;
    QTest::newRow("not the web contact") << 1 << u"example.com"_s << false;
}

void TestInputField::pointerMove_lightsLinkByTextAfterFirstStop()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, lit);
    InputField field(index);
    field.setText(text);
    const QColor plainColour = field.palette().color(QPalette::Text);
    field.show();
    QSignalSpy litChanges(&field, &InputField::linkLitChanged);

    MoveOver(field);

    QCOMPARE(field.IsLinkLit(), lit);
    QCOMPARE(field.palette().color(QPalette::Text), lit ? QColor(0, 0, 255) : plainColour);
    QCOMPARE(litChanges.count(), lit ? 1 : 0);
    if (lit)
        QCOMPARE(litChanges.first().first().toBool(), true);
}

void TestInputField::pointerMove_neverTurnsLinkOff()
{
    InputField field(0);
    field.setText(u"example.com"_s);
    field.show();
    MoveOver(field);
    QSignalSpy litChanges(&field, &InputField::linkLitChanged);

    field.setText(u"x"_s);
    MoveOver(field);

    QVERIFY(field.IsLinkLit());
    QCOMPARE(litChanges.count(), 0);
}

void TestInputField::turnLinkOff_restoresPlainLook()
{
    InputField field(0);
    field.setText(u"example.com"_s);
    const QColor plainColour = field.palette().color(QPalette::Text);
    field.show();
    MoveOver(field);
    QSignalSpy litChanges(&field, &InputField::linkLitChanged);

    field.TurnLinkOff();

    QVERIFY(!field.IsLinkLit());
    QVERIFY(!field.font().underline());
    QCOMPARE(field.palette().color(QPalette::Text), plainColour);
    QCOMPARE(litChanges.count(), 1);
    QCOMPARE(litChanges.first().first().toBool(), false);
}

void TestInputField::turnLinkOff_whenPlain_emitsNothing()
{
    InputField field(0);
    QSignalSpy litChanges(&field, &InputField::linkLitChanged);
    field.TurnLinkOff();
    QCOMPARE(litChanges.count(), 0);
}

void TestInputField::release_opensOnlyLitTextWithLeftButton_data()
{
    QTest::addColumn<QString>("textWhenMoved");
    QTest::addColumn<QString>("textWhenClicked");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("left on lit address") << u"someone@example.org"_s << u"someone@example.org"_s << Qt::LeftButton
                                         << QStringList{u"someone@example.org"_s};
    QTest::newRow("right on lit address") << u"example.com"_s << u"example.com"_s << Qt::RightButton << QStringList();
    QTest::newRow("middle on lit address") << u"example.com"_s << u"example.com"_s << Qt::MiddleButton << QStringList();
    QTest::newRow("left on plain text") << u"example"_s << u"example"_s << Qt::LeftButton << QStringList();
    QTest::newRow("left after emptying lit field") << u"example.com"_s << QString() << Qt::LeftButton << QStringList();
    QTest::newRow("left on lit field with new text") << u"example.com"_s << u"q"_s << Qt::LeftButton
                                                     << QStringList{u"q"_s};
}

void TestInputField::release_opensOnlyLitTextWithLeftButton()
{
    QFETCH(QString, textWhenMoved);
    QFETCH(QString, textWhenClicked);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QStringList, opened);
    InputField field(0);
    field.setText(textWhenMoved);
    field.show();
    MoveOver(field);
    field.setText(textWhenClicked);
    QSignalSpy openRequests(&field, &InputField::linkOpenRequested);

    QTest::mouseClick(&field, button, {}, QPoint(10, field.height() / 2));

    QStringList requested;
    for (const QList<QVariant> &arguments : std::as_const(openRequests))
        requested.append(arguments.first().toString());
    QCOMPARE(requested, opened);
}

QTEST_MAIN(TestInputField)
#include "tst_inputfield.moc"
