// Writes four full databases of realistic records into a folder, for the
// command-line benchmark: 32,767 records each, the most a database may hold.

#include "benchmarkdata.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: korvane_clibenchdata FOLDER\n");
        return 2;
    }
    constexpr int RecordsPerDatabase = 32767;
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const QByteArray content = MakeBenchmarkFile(MakeBenchmarkRecords(RecordsPerDatabase, number));
        if (!PrivateFiles::WriteWhole(DatabaseFiles::DatabaseFilePath(arguments[1], number), content))
            return 1;
    }
    return 0;
}
