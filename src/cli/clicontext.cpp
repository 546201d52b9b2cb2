#include "clicontext.h"

#include "platform/clock.h"
#include "platform/folders.h"
#include "textoutput.h"

#include <QFileDevice>

#include <unistd.h>

using namespace Qt::StringLiterals;

CliContext::CliContext(const Folders &folders, const Clock &clock, const QString &lockPath, QIODevice &output,
                       QIODevice &messages)
    : m_folders(folders)
    , m_clock(clock)
    , m_lockPath(lockPath)
    , m_output(output)
    , m_messages(messages)
{
    const auto *const file = qobject_cast<const QFileDevice *>(&output);
    m_outputIsTerminal = file && file->handle() >= 0 && isatty(file->handle()) == 1;
}

QString CliContext::DataFolder() const
{
    return m_folders.DataFolder();
}

QDateTime CliContext::Now() const
{
    return m_clock.Now();
}

void CliContext::Output(QByteArrayView data) const
{
    if (m_outputIsTerminal) {
        const QByteArray shown = ForTerminal(data);
        if (m_output.write(shown) != shown.size() && m_outputError.isEmpty())
            m_outputError = m_output.errorString();
        return;
    }
    if (m_output.write(data.data(), data.size()) != data.size() && m_outputError.isEmpty())
        m_outputError = m_output.errorString();
}

QString CliContext::FinishOutput() const
{
    auto *const file = qobject_cast<QFileDevice *>(&m_output);
    if (file && !file->flush() && m_outputError.isEmpty())
        m_outputError = file->errorString();
    if (m_outputError.isEmpty())
        return {};
    return m_outputError.front().toLower() + m_outputError.sliced(1);
}

void CliContext::Message(const QString &text) const
{
    m_messages.write((u"korvane-cli: "_s + text + u'\n').toUtf8());
}

void CliContext::Tell(const QString &text) const
{
    if (!m_quiet)
        Message(text);
}

std::unique_ptr<InstanceLock> CliContext::LockOutWindow() const
{
    auto lock = std::make_unique<InstanceLock>(m_lockPath);
    if (!lock->TryLock())
        return nullptr;
    return lock;
}
