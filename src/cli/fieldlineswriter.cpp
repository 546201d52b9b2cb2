#include "fieldlineswriter.h"

#include "exchange/recordcolumns.h"
#include "exchange/utf8text.h"
#include "store/databasefiles.h"

#include <algorithm>

FieldLinesWriter::FieldLinesWriter()
{
    const QStringList names = RecordColumns::Names();
    qsizetype nameWidth = 0;
    for (const QString &name : names)
        nameWidth = std::max(nameWidth, name.size() + 1);
    for (const QString &name : names)
        m_names.append((name + u':').leftJustified(nameWidth + 1).toLatin1());
}

void FieldLinesWriter::BeginDatabase(int database, QByteArray &)
{
    m_databaseName = DatabaseFiles::DisplayName(database).toLatin1();
}

void FieldLinesWriter::Add(const RegistrationRecord &record, QByteArray &out)
{
    if (!m_first)
        out += '\n';
    m_first = false;
    for (int column = 0; column < RecordColumns::Count; ++column) {
        out += m_names[column];
        Utf8Text::AppendVisible(out, column == 0 ? QByteArrayView(m_databaseName)
                                                 : record[RegistrationRecord::Field(column - 1)]);
        out += '\n';
    }
}
