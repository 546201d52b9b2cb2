#pragma once

#include "importedfile.h"

// Reads a JSON array of objects whose keys are column names and whose values
// are strings, as WriteJson writes it. Keys are matched as CSV headers are;
// other keys are left out, the Database key goes to each record's database.
// A key given twice in one object refuses the file.
ImportedFile ReadJson(QByteArrayView utf8, const RecordTaker &take = {});
