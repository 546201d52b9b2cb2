#include "benchmarkdata.h"

#include "store/ansitext.h"
#include "store/linecodec.h"
#include "store/recordline.h"

#include <QSet>
#include <QString>

#include <algorithm>

#include <array>
#include <random>

namespace {

// The standard fixes what mt19937 produces for a seed, so every machine and
// compiler makes the same records; only the plain remainder picks from it.
using Random = std::mt19937;

// The pool products are drawn from: 32,767 draws from 68,000 leave about
// 26,000 distinct products, as a collection holds a few products twice
// (another licence, another registrant).
constexpr quint32 ProductPool = 68000;
constexpr quint32 VendorPool = 3000;
constexpr quint32 RegistrantPool = 1000;

// Word parts of vendor names; "Echoline", "Élan" and "Ember" are among the
// names they make, so an accented name sorts between plain ones.
constexpr std::array VendorStarts = {
    "Ach", "Bor", "Cal", "Dra", "Echo", "Élan", "Emb",  "Fjor", "Gal", "Hel", "Ïs",  "Jun", "Kvä", "Lum", "Mør", "Nor",
    "Öst", "Pra", "Quo", "Ros", "Šum",  "Tal",  "Ulm",  "Ves",  "Wyn", "Xan", "Yar", "Žel", "Œno", "Arc", "Bri", "Cor",
    "Dun", "Émi", "Far", "Gri", "Hal",  "Ivo",  "Jas",  "Kor",  "Lev", "Mar", "Nex", "Orb", "Pix", "Rav", "Sol", "Tor",
    "Umb", "Vel", "Zen", "Ça",  "Ångs", "Bø",   "Crès", "Dé",   "Eïr", "Fü",  "Glö", "Hé",  "Iñi", "Jö",
};
constexpr std::array VendorEnds = {
    "line", "",    "er",       "soft",  "tek",     "ware",  "labs",  "ica",    "ion",      "ex",
    "a",    "o",   "ium",      "ber",   "vik",     "heim",  "ard",   "works",  "logic",    "byte",
    "data", "sys", "crest",    "mont",  "ère",     "ström", "ix",    "ova",    "ado",      "on",
    "us",   "is",  "ia",       "ea",    "ette",    "ine",   "ique",  "a Soft", " Media",   " Labs",
    " AG",  " Oy", " & Söhne", " GmbH", " s.r.o.", " SA",   " Inc.", " Ltd",   " Studios",
};
constexpr std::array ProductWords = {
    "Studio",
    "Photo Suite",
    "Backup Pro",
    "Office",
    "Audio Lab",
    "Code Editor",
    "Disk Tools",
    "Mail",
    "Finance",
    "Tax Helper",
    "Chess",
    "Flight Simulator",
    "PDF Writer",
    "Zip",
    "Antivirus",
    "Font Manager",
    "Map Explorer",
    "Recipe Box",
    "Crème Brûlée",
    "Café Manager",
    "Gartenplaner",
    "Señor Golf",
    "Über Sync",
    "Bücherwurm",
    "Rôle Play",
    "EuroRechner €",
    "Promille ‰",
    "Œuvre Catalog",
    "Škola",
    "Žurnál",
    "Screen Saver",
    "Tetris Deluxe",
    "Fractal",
    "Pinball",
    "Solitaire",
    "Racer",
    "Defrag",
    "Registry Fix",
    "Icon Editor",
    "Video Capture",
    "DVD Burner",
    "MP3 Tagger",
    "Notebook",
    "Calendar",
    "Address Book",
    "FTP Client",
    "Web Builder",
    "HTML Kit",
    "Spreadsheet",
    "Draw",
    "Typing Tutor",
    "Genealogy",
    "Star Atlas",
    "Weather",
    "Clipboard",
    "Password Safe",
    "Image Viewer",
    "Converter",
    "Équipe Manager",
    "Ärzte Planer",
    "Smörgåsbord",
    "Fjärrkontroll",
    "Mañana Tasks",
    "Déjà Vu",
    "Naïve Art",
    "Cœur Studio",
    "Skål Party",
    "Piñata Paint",
    "Tröja Designer",
    "Øresund Ferry",
    "Čas",
    "Tracker",
};
constexpr std::array Editions = {
    "",
    "",
    "",
    "",
    " 2",
    " 3",
    " 4.0",
    " 5.1",
    " 2000",
    " XP",
    " 98",
    " 2003",
    " 7",
    " 2010",
    " Pro",
    " Plus",
    " Gold",
    " Home",
    " Lite",
    " SE",
    " Deluxe",
    " Home Edition",
    " Professional",
    " Enterprise",
    " Studio Edition",
    " Édition Spéciale",
    " v2.5",
    " 10",
    " 11",
    " 2024",
};
constexpr std::array FirstNames = {
    "Ann",    "Björn",  "Chen",   "Dana",   "Émile",  "Farah",    "Gösta",   "Hélène", "Ingrid",  "Jürgen",
    "Kasia",  "Lars",   "María",  "Nuño",   "Oskar",  "Petra",    "Quentin", "Renée",  "Søren",   "Tomáš",
    "Ulla",   "Václav", "Wenche", "Xavier", "Yvonne", "Zoë",      "Ågot",    "Œlina",  "Štefan",  "Žofie",
    "Amélie", "Bruno",  "Cécile", "Dirk",   "Eva",    "François", "Greta",   "Hans",   "Inés",    "Jacques",
    "Kai",    "Léa",    "Mikael", "Noémie", "Ola",    "Pål",      "Rui",     "Sigrún", "Thérèse", "Ümit",
};
constexpr std::array LastNames = {
    "Leclerc",  "Ølstad",   "Wei",    "O'Neil",    "Durand",  "Haddad",    "Åberg",        "Müller",
    "Nørgaard", "Šimek",    "Žužek",  "García",    "Peña",    "Lindqvist", "Brønnum",      "Kovač",
    "Schäfer",  "Dubois",   "Côté",   "Fernández", "Jönsson", "Krüger",    "Lefèvre",      "Moreau",
    "Nyström",  "Ortíz",    "Pérez",  "Quiñones",  "Rødland", "Sørensen",  "Türk",         "Urbán",
    "Vogel",    "Weiß",     "Ybarra", "Zúñiga",    "Öberg",   "Ærø",       "Bäcklund",     "Castaño",
    "Doležal",  "Eriksson", "Fabré",  "Gómez",     "Hübner",  "Iñíguez",   "Jääskeläinen", "Köhler",
};
constexpr std::array Months = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

quint32 Below(Random &random, quint32 bound)
{
    return random() % bound;
}

template <std::size_t N>
QString Pick(Random &random, const std::array<const char *, N> &choices)
{
    return QString::fromUtf8(choices[Below(random, N)]);
}

QString Digits(Random &random, int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits.append(QChar(u'0' + Below(random, 10)));
    return digits;
}

QString Characters(Random &random, int count, const char *alphabet, quint32 alphabetSize)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QChar::fromLatin1(alphabet[Below(random, alphabetSize)]));
    return text;
}

QString Groups(Random &random, int groups, int length, const char *alphabet, quint32 alphabetSize)
{
    QStringList parts;
    for (int group = 0; group < groups; ++group)
        parts.append(Characters(random, length, alphabet, alphabetSize));
    return parts.join(u'-');
}

QString TwoDigits(int number)
{
    return QString::number(number).rightJustified(2, u'0');
}

// A vendor's name, the same for every product of it; every vendor of the
// pool has a name of its own.
QString VendorName(quint32 vendor)
{
    return QString::fromUtf8(VendorStarts[vendor % VendorStarts.size()])
           + QString::fromUtf8(VendorEnds[vendor / VendorStarts.size() % VendorEnds.size()]);
}

// The vendor's name as a host name: letters and digits only, accents dropped.
QString HostName(const QString &vendor)
{
    QString host;
    for (const QChar c : vendor.normalized(QString::NormalizationForm_KD).toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            host.append(c);
    }
    return host;
}

struct Product
{
    QString name;
    quint32 vendor = 0;
};

Product PooledProduct(quint32 index)
{
    Random random(index * 2654435761u + 12345u);
    const quint32 vendor = Below(random, VendorPool);
    const QString name = VendorName(vendor) + u' ' + Pick(random, ProductWords) + Pick(random, Editions);
    return {name, vendor};
}

QString Registrant(Random &random)
{
    // The collection's owner holds a fifth of the licences, the others
    // about as many each.
    const quint32 index = Below(random, 5) == 0 ? 1 : Below(random, RegistrantPool);
    if (index % 10 == 0)
        return VendorName(index * 3) + QStringLiteral(" Consulting");
    // Each index names another person: the last name steps by 55 modulo 48
    // from one index of a first name to the next, and 55 and 48 share no
    // factor.
    return QString::fromUtf8(FirstNames[index % FirstNames.size()]) + u' '
           + QString::fromUtf8(LastNames[(index / FirstNames.size() * 5 + index) % LastNames.size()]);
}

QString CustomerId(Random &random)
{
    switch (Below(random, 6)) {
    case 0:
        return {};
    case 1:
        return QStringLiteral("CU-") + Digits(random, 8);
    case 2:
        return Digits(random, 6 + int(Below(random, 5)));
    case 3:
        return u'K' + Digits(random, 4) + u'-' + Characters(random, 3, "ABCDEFGHJKLMNPQRSTUVWXYZ", 24);
    case 4:
        return QStringLiteral("user") + Digits(random, 3) + QStringLiteral("@mail.example");
    default:
        return QStringLiteral("Nr. ") + Digits(random, 5);
    }
}

QString RegistrationCode(Random &random)
{
    static const char Alphanumeric[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    static const char Hex[] = "0123456789ABCDEF";
    switch (Below(random, 8)) {
    case 0:
    case 1:
        return Groups(random, 5, 5, Alphanumeric, 32);
    case 2:
    case 3:
        return Groups(random, 4, 4, Hex, 16);
    case 4:
        return Characters(random, 32, Hex, 16);
    case 5:
        return u'{' + Characters(random, 8, Hex, 16) + u'-' + Groups(random, 3, 4, Hex, 16) + u'-'
               + Characters(random, 12, Hex, 16) + u'}';
    case 6:
        return QStringLiteral("SN ") + Digits(random, 10);
    default:
        // A licence block pasted whole.
        return Characters(random, 48 + int(Below(random, 40)),
                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/", 64);
    }
}

// Mostly the vendor's one address, sometimes another of its addresses.
QString WebContact(Random &random, quint32 vendor)
{
    const QString host = HostName(VendorName(vendor));
    const quint32 form = Below(random, 10) < 7 ? vendor % 5 : Below(random, 6);
    switch (form) {
    case 0:
        return QStringLiteral("www.") + host + QStringLiteral(".com");
    case 1:
        return QStringLiteral("http://www.") + host + QStringLiteral(".de/support");
    case 2:
        return QStringLiteral("support@") + host + QStringLiteral(".co.uk");
    case 3:
        return QStringLiteral("https://") + host + QStringLiteral(".example/register");
    case 4:
        return QStringLiteral("sales@") + host + QStringLiteral(".fr");
    default:
        return {};
    }
}

// The date as the user typed it, in one of the ways people write dates.
QString RegistrationDate(Random &random)
{
    const int year = 1996 + int(Below(random, 31));
    const int month = 1 + int(Below(random, 12));
    const int day = 1 + int(Below(random, 28));
    switch (Below(random, 6)) {
    case 0:
        return {};
    case 1:
        return TwoDigits(month) + u'/' + TwoDigits(day) + u'/' + QString::number(year);
    case 2:
        return TwoDigits(day) + u'.' + TwoDigits(month) + u'.' + QString::number(year);
    case 3:
        return QString::number(year) + u'-' + TwoDigits(month) + u'-' + TwoDigits(day);
    case 4:
        return QString::fromUtf8(Months[month - 1]) + u' ' + QString::number(day) + QStringLiteral(", ")
               + QString::number(year);
    default:
        return QString::number(day) + QStringLiteral(" févr. ") + QString::number(year);
    }
}

QString Recorded(Random &random)
{
    return TwoDigits(1 + int(Below(random, 12))) + u'-' + TwoDigits(1 + int(Below(random, 28))) + u'-'
           + QString::number(2003 + int(Below(random, 24))) + u' ' + TwoDigits(int(Below(random, 24))) + u':'
           + TwoDigits(int(Below(random, 60))) + u':' + TwoDigits(int(Below(random, 60)));
}

} // namespace

QList<RegistrationRecord> MakeBenchmarkRecords(int count, int database)
{
    Random random(20261205u + quint32(database));
    QList<RegistrationRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const Product product = PooledProduct(quint32(database) * ProductPool + Below(random, ProductPool));
        const std::array<QString, RegistrationRecord::FieldCount> texts = {
            product.name,
            Registrant(random),
            CustomerId(random),
            RegistrationCode(random),
            WebContact(random, product.vendor),
            RegistrationDate(random),
            Recorded(random),
        };
        std::array<QByteArray, RegistrationRecord::FieldCount> ansi;
        std::array<QByteArrayView, RegistrationRecord::FieldCount> fields;
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            ansi[field] = AnsiText::FromUnicode(texts[field]);
            fields[field] = ansi[field];
        }
        records.append(RegistrationRecord(fields));
    }
    return records;
}

QByteArray MakeBenchmarkFile(const QList<RegistrationRecord> &records)
{
    Random random(31337u);
    LineBreak form = LineBreak::Append;
    QByteArray content;
    for (const RegistrationRecord &record : records) {
        // Stretches of a few hundred lines each.
        if (Below(random, 300) == 0)
            form = form == LineBreak::Append ? LineBreak::Omit : LineBreak::Append;
        content += EncodeLine(FormatRecordLine(record, form), CodecKey());
        content += "\r\n";
    }
    return content;
}

std::string DescribeBenchmarkRecords(const QList<RegistrationRecord> &records)
{
    using Field = RegistrationRecord::Field;
    QSet<QByteArrayView> products;
    QSet<QByteArrayView> registrants;
    QSet<QByteArrayView> webContacts;
    qsizetype beyondAscii = 0;
    for (const RegistrationRecord &record : records) {
        products.insert(record[Field::Product]);
        registrants.insert(record[Field::Registrant]);
        webContacts.insert(record[Field::WebContact]);
        bool accented = false;
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            const QByteArrayView text = record[Field(field)];
            accented = accented || std::any_of(text.begin(), text.end(), [](char c) { return c & 0x80; });
        }
        beyondAscii += accented;
    }
    return std::to_string(records.size()) + " records: " + std::to_string(products.size()) + " distinct products, "
           + std::to_string(registrants.size()) + " registrants, " + std::to_string(webContacts.size())
           + " web contacts; " + std::to_string(100 * beyondAscii / std::max<qsizetype>(records.size(), 1))
           + " % of records hold characters beyond ASCII";
}
