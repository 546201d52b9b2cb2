#include "storabletextvalidator.h"

#include "store/ansitext.h"

#include <algorithm>

bool StorableTextValidator::IsStorable(QChar c)
{
    return c != u'|' && AnsiText::IsRepresentable(c);
}

QString StorableTextValidator::Storable(QStringView text)
{
    QString storable;
    storable.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(storable), IsStorable);
    return storable;
}

QValidator::State StorableTextValidator::validate(QString &input, int &position) const
{
    if (std::all_of(input.cbegin(), input.cend(), IsStorable))
        return Acceptable;
    const auto beforeCaret = QStringView(input).first(std::clamp(position, 0, int(input.size())));
    position -= int(std::count_if(beforeCaret.begin(), beforeCaret.end(), [](QChar c) { return !IsStorable(c); }));
    input = Storable(input);
    return Acceptable;
}
