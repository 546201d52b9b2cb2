#include "linecodec.h"

#include "platform/appinfo.h"

#include <algorithm>
#include <array>

namespace {

// A hex digit's value as the high and as the low half of a byte; anything
// else sets bit 8, which no byte value reaches, so one test after the whole
// line tells a damaged line from a good one without a branch per digit.
constexpr quint16 NotHex = 0x100;

constexpr std::array<quint16, 256> MakeHexValues(int shift)
{
    std::array<quint16, 256> values{};
    values.fill(NotHex);
    for (int digit = 0; digit < 10; ++digit)
        values['0' + digit] = quint16(digit << shift);
    for (int digit = 0; digit < 6; ++digit) {
        values['A' + digit] = quint16((10 + digit) << shift);
        values['a' + digit] = quint16((10 + digit) << shift);
    }
    return values;
}

constexpr std::array<quint16, 256> HighHalves = MakeHexValues(4);
constexpr std::array<quint16, 256> LowHalves = MakeHexValues(0);
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
    const qsizetype pairs = hex.size() / 2;
    QByteArray plain(pairs + hex.size() % 2, Qt::Uninitialized);
    auto *const out = reinterpret_cast<unsigned char *>(plain.data());
    const auto *const in = reinterpret_cast<const unsigned char *>(hex.data());
    const auto *const keyBytes = reinterpret_cast<const unsigned char *>(key.data());
    const qsizetype keyLength = key.size();

    quint16 damaged = 0;
    qsizetype keyPosition = 0;
    const auto put = [&](qsizetype index, quint16 value) {
        damaged |= value;
        out[index] = static_cast<unsigned char>(value ^ keyBytes[keyPosition]);
        if (++keyPosition == keyLength)
            keyPosition = 0;
    };
    for (qsizetype pair = 0; pair < pairs; ++pair)
        put(pair, HighHalves[in[2 * pair]] | LowHalves[in[2 * pair + 1]]);
    // An odd last digit stands alone, as a value from 0 to 15.
    if (hex.size() % 2 != 0)
        put(pairs, LowHalves[in[hex.size() - 1]]);
    return (damaged & NotHex) ? QByteArray() : plain;
}
