#include "recordedstamp.h"

using namespace Qt::StringLiterals;

QString RecordedStamp(const QDateTime &localTime)
{
    // The format string form of toString always uses the C locale.
    return localTime.toString(u"MM-dd-yyyy HH:mm:ss"_s);
}
