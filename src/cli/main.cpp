#include "clicontext.h"
#include "korvanecli.h"
#include "platform/appinfo.h"
#include "platform/standardfolders.h"
#include "platform/systemclock.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // The window's names: they choose the data folder both work on.
    QCoreApplication::setOrganizationName(AppInfo::OrganizationName);
    QCoreApplication::setApplicationName(AppInfo::ApplicationTitle);
    // The tool tells its user every problem in a message of its own; the
    // layers' log for developers stays off unless QT_LOGGING_RULES turns it on.
    QLoggingCategory::setFilterRules(QStringLiteral("korvane.*.warning=false"));

    QFile output;
    QFile messages;
    output.open(stdout, QIODevice::WriteOnly);
    messages.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    StandardFolders folders;
    SystemClock clock;
    const CliContext context(folders, clock, InstanceLock::DefaultPath(), output, messages);
    return int(RunKorvaneCli(context, QCoreApplication::arguments().sliced(1)));
}
