#pragma once

#include "store/fieldnames.h"
#include "store/registrationrecord.h"

#include <QLatin1StringView>
#include <QStringList>

#include <array>
#include <optional>

// The columns of every listing and export: the database a record lies in,
// then its seven fields in column order.
//
//   Database,Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,Recorded
namespace RecordColumns {

inline constexpr QLatin1StringView DatabaseColumn{"Database"};
inline constexpr int Count = 1 + RegistrationRecord::FieldCount;

QStringList Names();

// What a column of an imported file holds, named as a header or key. The
// Database column is known but carries nothing: import goes to the database
// the user names.
struct Column
{
    bool isDatabase = false;
    RegistrationRecord::Field field = RegistrationRecord::Product;
};
// None for a name that is no column. Letter case and surrounding blanks do
// not count, so a header retyped in a spreadsheet still fits. KeePass's
// names of its standard fields are known too, so KeePassXC's CSV fits.
std::optional<Column> ColumnNamed(QStringView name);

// The strings of a KeePass entry: its four standard fields, then our other
// three under their own names.
struct KeePassString
{
    QLatin1StringView key;
    RegistrationRecord::Field field;
};
inline constexpr std::array<KeePassString, RegistrationRecord::FieldCount> KeePassStrings = {{
    {QLatin1StringView("Title"), RegistrationRecord::Product},
    {QLatin1StringView("UserName"), RegistrationRecord::Registrant},
    {QLatin1StringView("Password"), RegistrationRecord::Registration},
    {QLatin1StringView("URL"), RegistrationRecord::WebContact},
    {FieldNames::Names[RegistrationRecord::CustomerId], RegistrationRecord::CustomerId},
    {FieldNames::Names[RegistrationRecord::RegistrationDate], RegistrationRecord::RegistrationDate},
    {FieldNames::Names[RegistrationRecord::Recorded], RegistrationRecord::Recorded},
}};

// The field an entry's string holds, by its key in UTF-8 as the file gives
// it; KeePass's keys are exact.
std::optional<RegistrationRecord::Field> KeePassField(QByteArrayView key);

} // namespace RecordColumns
