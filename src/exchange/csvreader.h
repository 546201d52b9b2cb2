#pragma once

#include "importedfile.h"

// Reads CSV by RFC 4180 in UTF-8, as WriteCsv writes it and as spreadsheets
// save it: a header line names the columns (any order, letter case ignored,
// a byte order mark allowed), quoted fields may hold commas, quotes and line
// breaks, lines end in CR LF or a bare LF. Columns the header does not name
// stay missing; columns of other names are left out; the Database column
// goes to each record's database. KeePass's names of its standard fields
// (Title, Username, Password, URL) are read as WriteKeePassXml maps them, so
// KeePassXC's own CSV export fits.
ImportedFile ReadCsv(QByteArrayView utf8, const RecordTaker &take = {});
