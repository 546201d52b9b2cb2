#include "linecodec.h"

#include "platform/appinfo.h"

#include <algorithm>
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
    const qsizetype keyLength = key.size();
    const qsizetype length = std::max(plain.size(), keyLength);
    QByteArray hex(length * 2, Qt::Uninitialized);
    char *out = hex.data();
    const char *const keyBytes = key.data();

    qsizetype keyPosition = 0;
    const auto encode = [&](char c) {
        const auto value = static_cast<unsigned char>(c ^ keyBytes[keyPosition]);
        out[0] = HexDigits[value >> 4];
        out[1] = HexDigits[value & 0x0F];
        out += 2;
        if (++keyPosition == keyLength)
            keyPosition = 0;
    };
    for (const char c : plain)
        encode(c);
    if (plain.size() < keyLength) {
        encode('.');
        for (const char c : key.first(keyLength - plain.size() - 1))
            encode(c);
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
