#pragma once

#include "store/registrationrecord.h"

#include <QLatin1StringView>
#include <QStringList>

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
// not count, so a header retyped in a spreadsheet still fits.
std::optional<Column> ColumnNamed(QStringView name);

} // namespace RecordColumns
