#pragma once

#include "cli/clicontext.h"
#include "cli/korvanecli.h"
#include "store/databasefiles.h"
#include "store/linecodec.h"
#include "testsupport/fakeclock.h"
#include "testsupport/fakefolders.h"
#include "testsupport/testfiles.h"

#include <QBuffer>
#include <QDir>

// Runs korvane-cli in the test's process on data folders of its own, with a
// fixed clock, catching what it writes.
class CliRunner
{
public:
    CliRunner() { clock.now = QDateTime(QDate(2026, 4, 12), QTime(1, 35, 24)); }

    ExitCode Run(const QStringList &arguments)
    {
        QBuffer output;
        output.open(QIODevice::WriteOnly);
        const ExitCode code = RunInto(output, arguments);
        m_output = output.data();
        return code;
    }

    // Data goes to output, which the caller checks.
    ExitCode RunInto(QIODevice &output, const QStringList &arguments)
    {
        QBuffer messages;
        messages.open(QIODevice::WriteOnly);
        const CliContext context(folders, clock, LockPath(), output, messages);
        const ExitCode code = RunKorvaneCli(context, arguments);
        m_messages = QString::fromUtf8(messages.data());
        return code;
    }

    QByteArray Output() const { return m_output; }
    QString Messages() const { return m_messages; }

    QString DatabasePath(int number) const { return DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number); }
    QByteArray Database(int number) const { return TestFiles::Read(DatabasePath(number)); }
    bool WriteDatabase(int number, QByteArrayView content) const
    {
        return TestFiles::Write(DatabasePath(number), content);
    }
    QString LockPath() const { return QDir(folders.Root()).filePath(QStringLiteral("korvane.lock")); }
    QString FilePath(const QString &name) const { return QDir(folders.Root()).filePath(name); }

    FakeFolders folders;
    FakeClock clock;

private:
    QByteArray m_output;
    QString m_messages;
};

// One database line, encoded from its plain text as the window writes it:
// "...|" for an appended record, "...|\r\n" for a rewritten one.
inline QByteArray Line(QByteArrayView plain)
{
    return EncodeLine(plain, CodecKey()) + "\r\n";
}
