#include "settingvalues.h"

using namespace Qt::StringLiterals;

bool SettingValues::IsOn(QStringView text)
{
    if (text == u"True"_s)
        return true;
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    // Only the digits matter: the number is non-zero exactly when one of them is.
    bool sawDot = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'.' && !sawDot) {
            sawDot = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > u'9')
            return false;
        if (c != u'0')
            return true;
    }
    return false;
}
