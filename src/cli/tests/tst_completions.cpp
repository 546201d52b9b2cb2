#include "cli/commandtable.h"
#include "testsupport/testfiles.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Names = QSet<QString>;

Names Split(const QString &words)
{
    const QStringList list = words.split(u' ', Qt::SkipEmptyParts);
    return Names(list.begin(), list.end());
}

// "-d", "--database"; fish's table writes "d/database", or "/force" for a
// long name alone.
Names OptionNames(const QString &words)
{
    Names names;
    for (const QString &word : Split(words)) {
        const qsizetype slash = word.indexOf(u'/');
        if (slash < 0) {
            names.insert(word);
            continue;
        }
        if (slash > 0)
            names.insert(u"-"_s + word.first(slash));
        names.insert(u"--"_s + word.sliced(slash + 1));
    }
    return names;
}

} // namespace

// The completions are written by hand for each shell; every command, each
// command's options and its formats must be those of the command table.
class TestCompletions : public QObject
{
    Q_OBJECT

private slots:
    void completions_matchTheTable_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("formats");
        QTest::newRow("bash") << u"korvane-cli.bash"_s << u"local commands=\"([^\"]*)\""_s
                              << u"\\n\\s+(\\w+)\\) options=\"([^\"]*)\""_s
                              << u"\\n\\s+(\\w+)\\) options=.*formats=\"([^\"]*)\""_s;
        QTest::newRow("zsh") << u"_korvane-cli"_s << u"\\ncommands=\\(([^)]*)\\)"_s
                             << u"\\n\\s+(\\w+)\\) options=\\(([^)]*)\\)"_s
                             << u"\\n\\s+(\\w+)\\) options=.*formats=\\(([^)]*)\\)"_s;
        QTest::newRow("fish") << u"korvane-cli.fish"_s << u"set -l commands ([^\\n]*)"_s
                              << u"\"(\\w+) ((?:\\w*/[\\w-]+ ?)+)\""_s
                              << u"from ([\\w ]+)\" -s f -l format -x -a \"([^\"]*)\""_s;
    }

    void completions_matchTheTable()
    {
        QFETCH(QString, file);
        QFETCH(QString, commands);
        QFETCH(QString, options);
        QFETCH(QString, formats);
        const QString script = QString::fromUtf8(TestFiles::Read(QStringLiteral(KORVANE_COMPLETIONS) + u'/' + file));
        QVERIFY(!script.isEmpty());

        QCOMPARE(Split(QRegularExpression(commands).match(script).captured(1)),
                 Split(CommandTable::CommandNames().join(u' ')) + Names{u"help"_s});
        QMap<QString, Names> givenOptions;
        for (const QRegularExpressionMatch &match : QRegularExpression(options).globalMatch(script))
            givenOptions[match.captured(1)] = OptionNames(match.captured(2));
        QMap<QString, Names> givenFormats;
        for (const QRegularExpressionMatch &match : QRegularExpression(formats).globalMatch(script)) {
            for (const QString &command : Split(match.captured(1)))
                givenFormats[command] = Split(match.captured(2));
        }

        QMap<QString, Names> tableOptions;
        QMap<QString, Names> tableFormats;
        for (const CommandTable::CommandSpec &command : CommandTable::Commands) {
            const QStringList names = CommandTable::OptionNames(command);
            tableOptions[command.name] = Names(names.begin(), names.end());
            if (!command.formats.isEmpty())
                tableFormats[command.name] = Split(command.formats);
        }
        QCOMPARE(givenOptions, tableOptions);
        QCOMPARE(givenFormats, tableFormats);
    }
};

QTEST_GUILESS_MAIN(TestCompletions)
#include "tst_completions.moc"
