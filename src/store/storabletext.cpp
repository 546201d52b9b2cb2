#include "storabletext.h"

#include "ansitext.h"
#include "recordline.h"

#include <algorithm>

bool StorableText::IsStorable(QChar c)
{
    return c != QLatin1Char(FieldSeparator) && AnsiText::IsRepresentable(c);
}

QString StorableText::Storable(QStringView text)
{
    QString storable;
    storable.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(storable), IsStorable);
    return storable;
}

QByteArray StorableText::ToField(QStringView text)
{
    // FromUnicode already drops what Windows-1252 cannot hold.
    return AnsiText::FromUnicode(Storable(text));
}
