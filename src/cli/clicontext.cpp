#include "clicontext.h"

#include "platform/clock.h"
#include "platform/folders.h"

using namespace Qt::StringLiterals;

CliContext::CliContext(const Folders &folders, const Clock &clock, const QString &lockPath, QIODevice &output,
                       QIODevice &messages)
    : m_folders(folders)
    , m_clock(clock)
    , m_lockPath(lockPath)
    , m_output(output)
    , m_messages(messages)
{}

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
    m_output.write(data.data(), data.size());
}

void CliContext::Message(const QString &text) const
{
    m_messages.write((u"korvane-cli: "_s + text + u'\n').toUtf8());
}

std::unique_ptr<InstanceLock> CliContext::LockOutWindow() const
{
    auto lock = std::make_unique<InstanceLock>(m_lockPath);
    if (!lock->TryLock())
        return nullptr;
    return lock;
}
