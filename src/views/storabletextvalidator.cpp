#include "storabletextvalidator.h"

#include "store/storabletext.h"

#include <algorithm>

QValidator::State StorableTextValidator::validate(QString &input, int &position) const
{
    using StorableText::IsStorable;
    if (std::all_of(input.cbegin(), input.cend(), IsStorable))
        return Acceptable;
    // The caret keeps its place among the characters that stay.
    const auto beforeCaret = QStringView(input).first(std::clamp(position, 0, int(input.size())));
    position -= int(std::count_if(beforeCaret.begin(), beforeCaret.end(), [](QChar c) { return !IsStorable(c); }));
    input = StorableText::Storable(input);
    return Acceptable;
}
