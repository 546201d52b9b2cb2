#include "textoutput.h"

#include "exchange/csvwriter.h"
#include "exchange/jsonwriter.h"
#include "exchange/keepassxmlwriter.h"
#include "fieldlineswriter.h"
#include "tablewriter.h"

std::unique_ptr<RecordWriter> WriterFor(const QString &format)
{
    if (format == u"csv")
        return std::make_unique<CsvWriter>();
    if (format == u"json")
        return std::make_unique<JsonWriter>();
    if (format == u"keepass-xml")
        return std::make_unique<KeePassXmlWriter>();
    if (format == u"text")
        return std::make_unique<FieldLinesWriter>();
    return std::make_unique<TableWriter>();
}

QByteArray ForTerminal(QByteArrayView utf8)
{
    QByteArray shown;
    shown.reserve(utf8.size());
    for (qsizetype at = 0; at < utf8.size(); ++at) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        const auto next = at + 1 < utf8.size() ? static_cast<unsigned char>(utf8[at + 1]) : 0;
        const bool lineEnd = byte == '\n' || byte == '\t' || (byte == '\r' && next == '\n');
        if (byte == 0xC2 && next >= 0x80 && next < 0xA0) {
            shown += QStringView(u"\uFFFD").toUtf8();
            ++at;
        } else if ((byte < 0x20 && !lineEnd) || byte == 0x7F) {
            shown += QString(QChar(char16_t(byte == 0x7F ? 0x2421 : 0x2400 + byte))).toUtf8();
        } else {
            shown += char(byte);
        }
    }
    return shown;
}
