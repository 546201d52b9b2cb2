#pragma once

#include "importedfile.h"

// Reads a KeePass 2 XML file, as WriteKeePassXml writes it and as KeePass and
// KeePassXC export it: every entry of every group is a record, mapped back as
// WriteKeePassXml maps it. Old versions kept in an entry's history and the
// entries of the recycle bin are not records. Other non-empty fields and
// attachments are left out. An encrypted value refuses the file, and so do
// declared entities (Qt would expand some and drop others unseen) and
// elements nested deeper than any real file nests them.
ImportedFile ReadKeePassXml(QByteArrayView xml, const RecordTaker &take = {});
