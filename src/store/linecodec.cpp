#include "linecodec.h"

#include "appinfo.h"

#include <array>

namespace {

constexpr std::array<signed char, 256> MakeHexValues()
{
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (int digit = 0; digit < 10; ++digit)
        values['0' + digit] = static_cast<signed char>(digit);
    for (int digit = 0; digit < 6; ++digit) {
        values['A' + digit] = static_cast<signed char>(10 + digit);
        values['a' + digit] = static_cast<signed char>(10 + digit);
    }
    return values;
}

constexpr std::array<signed char, 256> HexValues = MakeHexValues();
constexpr char HexDigits[] = "0123456789ABCDEF";

} // namespace

QByteArrayView CodecKey()
{
    return QByteArrayView(AppInfo::ApplicationTitle.data(), AppInfo::ApplicationTitle.size());
}

QByteArray EncodeLine(QByteArrayView plain, QByteArrayView key)
{
    Q_ASSERT(!key.isEmpty());
    QByteArray text = plain.toByteArray();
    if (key.size() > text.size()) {
        const qsizetype fillerLength = key.size() - text.size() - 1;
        text.append('.');
        text.append(key.first(fillerLength));
    }

    QByteArray hex(text.size() * 2, Qt::Uninitialized);
    char *out = hex.data();
    qsizetype keyPosition = 0;
    for (const char c : std::as_const(text)) {
        const auto value = static_cast<unsigned char>(c ^ key[keyPosition]);
        *out++ = HexDigits[value >> 4];
        *out++ = HexDigits[value & 0x0F];
        if (++keyPosition == key.size())
            keyPosition = 0;
    }
    return hex;
}

QByteArray DecodeLine(QByteArrayView hex, QByteArrayView key)
{
    Q_ASSERT(!key.isEmpty());
    QByteArray plain((hex.size() + 1) / 2, Qt::Uninitialized);
    char *out = plain.data();
    const auto *in = reinterpret_cast<const unsigned char *>(hex.data());
    const auto *const end = in + hex.size();
    qsizetype keyPosition = 0;
    while (in < end) {
        const int high = HexValues[*in++];
        int value = high;
        if (in < end) {
            const int low = HexValues[*in++];
            value = (high < 0 || low < 0) ? -1 : high * 16 + low;
        }
        if (value < 0)
            return {};
        *out++ = static_cast<char>(value ^ key[keyPosition]);
        if (++keyPosition == key.size())
            keyPosition = 0;
    }
    return plain;
}
