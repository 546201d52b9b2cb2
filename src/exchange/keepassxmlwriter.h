#pragma once

#include "keepasstimes.h"
#include "nameduuids.h"
#include "recordwriter.h"

#include <QHash>

#include <functional>
#include <string_view>

// Records as a KeePass 2 XML file, the plain export format that KeePass and
// KeePassXC import. Under one group "Korvane", each database is a group named
// as its toolbar button, and each record an entry:
//
//   Title = Product, UserName = Registrant, Password = Registration,
//   URL = Web Contact, and the string fields "Customer ID",
//   "Registration Date" and "Recorded".
//
// An entry's UUID is derived from its database, its Product and the how-manyth
// record of that Product it is, and its times from the Recorded stamp (last
// modified) and the Registration Date (created, where it reads as a date),
// so a re-export updates the same entries when KeePass merges it.
//
// A database's records must stay alive until the next database begins.
class KeePassXmlWriter : public RecordWriter
{
public:
    KeePassXmlWriter();

    void Begin(QByteArray &out) override;
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &out, const TextSink &) override;

private:
    KeePassTimes m_times;
    NamedUuids m_uuids;
    int m_database = 0;
    // A Product's text, hashed by the standard library: Qt's hash of bytes
    // is a keyed hash against crafted collisions, several times slower, and a
    // user's own records need no such guard.
    struct Product
    {
        QByteArrayView text;

        friend bool operator==(Product, Product) = default;
        friend size_t qHash(Product product, size_t seed) noexcept
        {
            return std::hash<std::string_view>()(std::string_view(product.text.data(), product.text.size())) ^ seed;
        }
    };

    // How many records of each Product the database has had so far, counted
    // by the text in the records themselves, which live until the next
    // database begins.
    QHash<Product, int> m_occurrences;
};

QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases);
