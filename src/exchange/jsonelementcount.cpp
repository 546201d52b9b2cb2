#include "jsonelementcount.h"

std::optional<qsizetype> JsonElementBeyond(QByteArrayView utf8, qsizetype maxElements)
{
    int depth = 0;
    bool inString = false;
    qsizetype commas = 0;
    for (qsizetype at = 0; at < utf8.size(); ++at) {
        const char c = utf8[at];
        if (inString) {
            if (c == '\\')
                ++at;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '[':
        case '{':
            ++depth;
            break;
        case ']':
        case '}':
            --depth;
            break;
        case ',':
            if (depth == 1 && ++commas == maxElements)
                return at;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}
