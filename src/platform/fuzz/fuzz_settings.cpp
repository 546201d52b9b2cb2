// Any bytes as the settings file, read through the real settings store: the
// values "102" and "103" read without a crash, as plain text. What the
// program makes of a strange "103" is a table in the database choice's tests.

#include "platform/qsettingsstore.h"
#include "platform/settingvalues.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Qt's settings parser sizes a container by the count a "@Variant(...)"
// value claims before reading it: 48 bytes of file can ask for 19 GB of
// address space. The system grants that untouched or refuses it, and the
// program goes on either way; only the sanitizer would touch it all. Large
// requests are refused here, as on a small machine.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Lives as long as the process: the settings file of every input.
    static const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static qint64 s_stamp = 0;
    const QString path =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessaly"_s, u"Korvane"_s).fileName();
    QDir().mkpath(QFileInfo(path).path());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // Settings files are cached by size and time; a new time makes each
    // input read afresh.
    const timespec times[2] = {{++s_stamp, 0}, {s_stamp, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);

    const QSettingsStore store;
    SettingValues::IsOn(store.ReadSetting(SettingsKeyPath(), SettingValues::ShowGrid));
    SettingValues::IsOn(store.ReadSetting(SettingsKeyPath(), SettingValues::CurrentDatabase));
    return 0;
}
