#include "utf8text.h"

#include "bytetexts.h"

#include "store/ansitext.h"
#include "store/bytelanes.h"

#include <cstring>

namespace {

using Utf8Table = ByteTexts<Utf8Text::MaxBytesPerCharacter>;

QChar VisibleForm(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x20)
        return QChar(char16_t(0x2400 + code));
    if (code == 0x7F)
        return QChar(char16_t(0x2421));
    // The five codes Windows-1252 leaves unassigned read as C1 controls.
    if (code >= 0x80 && code < 0xA0)
        return QChar::ReplacementCharacter;
    return c;
}

Utf8Table MakeTable(bool visible)
{
    return Utf8Table([visible](char byte) {
        const QChar c = AnsiText::CharacterOf(byte);
        return QString(visible ? VisibleForm(c) : c).toUtf8();
    });
}

char *Write(char *out, QByteArrayView ansi, const Utf8Table &table)
{
    const char *in = ansi.begin();
    const char *const end = ansi.end();
    // Printable ASCII, nearly all text, is the same in every form: it goes
    // across eight bytes at a time.
    for (; end - in >= ByteLanes::Width; in += ByteLanes::Width, out += ByteLanes::Width) {
        const quint64 word = ByteLanes::Load(in);
        if (!ByteLanes::ArePrintableAscii(word))
            break;
        std::memcpy(out, &word, ByteLanes::Width);
    }
    for (; in != end; ++in) {
        const auto code = static_cast<unsigned char>(*in);
        if (code >= 0x20 && code < 0x7F) {
            *out++ = *in;
            continue;
        }
        out = table.Write(out, *in);
    }
    return out;
}

} // namespace

char *Utf8Text::WriteExact(char *out, QByteArrayView ansi)
{
    static const Utf8Table Table = MakeTable(false);
    return Write(out, ansi, Table);
}

char *Utf8Text::WriteVisible(char *out, QByteArrayView ansi)
{
    static const Utf8Table Table = MakeTable(true);
    return Write(out, ansi, Table);
}

void Utf8Text::AppendExact(QByteArray &out, QByteArrayView ansi)
{
    AppendWritten(out, MaxBytesPerCharacter * ansi.size(), [ansi](char *at) { return WriteExact(at, ansi); });
}

void Utf8Text::AppendVisible(QByteArray &out, QByteArrayView ansi)
{
    AppendWritten(out, MaxBytesPerCharacter * ansi.size(), [ansi](char *at) { return WriteVisible(at, ansi); });
}

QString Utf8Text::Visible(QByteArrayView ansi)
{
    QByteArray utf8;
    AppendVisible(utf8, ansi);
    return QString::fromUtf8(utf8);
}
