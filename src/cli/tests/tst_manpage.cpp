#include "cli/commandtable.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Names = QSet<QString>;

// The lines of one ".SH" section of the manual page.
QStringList Section(const QString &title)
{
    QFile file(QStringLiteral(KORVANE_MAN_PAGE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s).split(u'\n');
    const qsizetype start = lines.indexOf(u".SH "_s + title);
    if (start < 0)
        return {};
    QStringList section;
    for (const QString &line : lines.sliced(start + 1)) {
        if (line.startsWith(u".SH "_s))
            break;
        section.append(line);
    }
    return section;
}

// The tag lines of the section's own items: the line after each ".TP",
// leaving out items nested in ".RS" and ".RE" (the formats of export).
QStringList Tags(const QString &title)
{
    const QStringList lines = Section(title);
    QStringList tags;
    int depth = 0;
    for (qsizetype index = 0; index + 1 < lines.size(); ++index) {
        depth += lines[index] == u".RS"_s ? 1 : lines[index] == u".RE"_s ? -1 : 0;
        if (lines[index] == u".TP"_s && depth == 0)
            tags.append(lines[index + 1]);
    }
    return tags;
}

Names ManCommands()
{
    static const QRegularExpression command(uR"(^\.BI?R?\s+"?([a-z-]+))"_s);
    Names names;
    for (const QString &tag : Tags(u"COMMANDS"_s))
        names.insert(command.match(tag).captured(1));
    return names;
}

Names ManOptions()
{
    static const QRegularExpression option(uR"((?:^|[\s"])(--?[a-zA-Z][a-z-]*))"_s);
    Names names;
    for (const QString &tag : Tags(u"OPTIONS"_s)) {
        for (const QRegularExpressionMatch &match : option.globalMatch(tag))
            names.insert(match.captured(1));
    }
    return names;
}

} // namespace

// The manual page is the one description of the commands and options in
// prose, the command table the one in code: neither may know one the other
// lacks.
class TestManPage : public QObject
{
    Q_OBJECT

private slots:
    void commands_matchTheTable()
    {
        Names table;
        for (const CommandTable::CommandSpec &command : CommandTable::Commands)
            table.insert(command.name);
        QCOMPARE(ManCommands(), table);
    }

    void options_matchTheTable()
    {
        Names table;
        for (const CommandTable::OptionSpec &option : CommandTable::Options) {
            if (!option.shortName.isEmpty())
                table.insert(u"-"_s + option.shortName);
            table.insert(u"--"_s + option.longName);
        }
        QCOMPARE(ManOptions(), table);
    }
};

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_manpage.moc"
