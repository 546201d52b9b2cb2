#pragma once

#include <QByteArrayView>

#include <optional>

// Where the array a JSON text holds passes maxElements elements: the offset of
// the comma before the element one too many; none when it never does. A look
// at the bytes before any parsing, so that a file of millions of tiny objects
// is refused before one of them is built. Commas inside strings and deeper
// values do not count.
std::optional<qsizetype> JsonElementBeyond(QByteArrayView utf8, qsizetype maxElements);
