#pragma once

#include "platform/instancelock.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <memory>

class Clock;
class Folders;

// What every command works with: where the data lives, the time, the lock the
// window holds, and where data and messages go.
class CliContext
{
public:
    CliContext(const Folders &folders, const Clock &clock, const QString &lockPath, QIODevice &output,
               QIODevice &messages);

    // Where the database files lie.
    QString DataFolder() const;
    QDateTime Now() const;

    // Data, for scripts: the standard output. A failed write is kept for
    // FinishOutput to tell. On a terminal, control characters are shown as
    // pictures (see ForTerminal), so that data cannot retitle or clear it;
    // files and pipes get every byte.
    void Output(QByteArrayView data) const;
    // Whether the output is a terminal, where a person reads it.
    bool OutputIsTerminal() const { return m_outputIsTerminal; }
    // Flushes the output; the system's reason ("no space left on device")
    // when any write of it failed, else nothing.
    QString FinishOutput() const;
    // One line for the user on the standard error, named after the program.
    void Message(const QString &text) const;
    // A message that only says a command did what was asked; none when the
    // command line asks for quiet.
    void Tell(const QString &text) const;
    // Set once the command line is read.
    void SetQuiet(bool quiet) const { m_quiet = quiet; }

    // Keeps the window from starting for as long as the lock lives. None
    // while the window runs: then a command must not write.
    std::unique_ptr<InstanceLock> LockOutWindow() const;

private:
    const Folders &m_folders;
    const Clock &m_clock;
    QString m_lockPath;
    QIODevice &m_output;
    QIODevice &m_messages;
    mutable QString m_outputError;
    mutable bool m_quiet = false;
    bool m_outputIsTerminal = false;
};
