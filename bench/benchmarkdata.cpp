#include "benchmarkdata.h"

#include <random>

namespace {

const char *const Vendors[] = {"Adeline", "Borealis", "Cinder", "Driftwood", "Ember", "Fjord", "Garnet", "Harbor"};
const char *const Products[] = {"Studio",    "Photo Suite", "Backup Pro", "Office",
                                "Audio Lab", "Code Editor", "Disk Tools", "Game of Isles"};
const char *const Names[] = {"Ann Leclerc", "Bj\xF6rn \xD8lstad", "Chen Wei",
                             "Dana O'Neil", "\xC9mile Durand",    "Farah Haddad"};

QByteArray Pick(std::mt19937 &random, const char *const *choices, std::size_t count)
{
    return QByteArray(choices[random() % count]);
}

QByteArray Digits(std::mt19937 &random, int count)
{
    QByteArray digits;
    for (int i = 0; i < count; ++i)
        digits.append(char('0' + random() % 10));
    return digits;
}

QByteArray Code(std::mt19937 &random)
{
    static const char Alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QByteArray code;
    for (int group = 0; group < 5; ++group) {
        if (group > 0)
            code.append('-');
        for (int i = 0; i < 5; ++i)
            code.append(Alphabet[random() % 32]);
    }
    return code;
}

} // namespace

QList<RegistrationRecord> MakeBenchmarkRecords(int count)
{
    std::mt19937 random(20261205);
    QList<RegistrationRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QByteArray vendor = Pick(random, Vendors, std::size(Vendors));
        const QByteArray product = vendor + ' ' + Pick(random, Products, std::size(Products)) + ' '
                                   + QByteArray::number(2000 + int(random() % 27));
        const QByteArray registrant = Pick(random, Names, std::size(Names));
        const QByteArray customerId = "CU-" + Digits(random, 8);
        const QByteArray registration = Code(random);
        const QByteArray webContact = "www." + vendor.toLower() + ".example";
        const QByteArray date = Digits(random, 2) + '/' + Digits(random, 2) + "/2024";
        const QByteArray recorded = "12-04-2026 01:35:" + Digits(random, 2);
        records.append(RegistrationRecord({product, registrant, customerId, registration, webContact, date, recorded}));
    }
    return records;
}
