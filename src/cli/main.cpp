#include "clicontext.h"
#include "korvanecli.h"
#include "platform/appinfo.h"
#include "platform/standardfolders.h"
#include "platform/systemclock.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <malloc.h>

int main(int argc, char *argv[])
{
    // A command lives for a fraction of a second and reads one database
    // after another: memory a database's records freed is kept for the next
    // instead of going back to the kernel, which would hand out fresh pages
    // again, each a page fault.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
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
