#include "recordcolumns.h"

#include "store/fieldnames.h"

QStringList RecordColumns::Names()
{
    QStringList names{DatabaseColumn};
    for (const QLatin1StringView name : FieldNames::Names)
        names.append(name);
    return names;
}

std::optional<RecordColumns::Column> RecordColumns::ColumnNamed(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    if (trimmed.compare(DatabaseColumn, Qt::CaseInsensitive) == 0)
        return Column{true};
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
        if (trimmed.compare(FieldNames::Names[field], Qt::CaseInsensitive) == 0)
            return Column{false, RegistrationRecord::Field(field)};
    }
    for (const KeePassString &string : KeePassStrings) {
        if (trimmed.compare(string.key, Qt::CaseInsensitive) == 0)
            return Column{false, string.field};
    }
    return std::nullopt;
}

std::optional<RegistrationRecord::Field> RecordColumns::KeePassField(QByteArrayView key)
{
    // The keys are ASCII, the same in UTF-8 and Latin-1.
    for (const KeePassString &string : KeePassStrings) {
        if (key == QByteArrayView(string.key.data(), string.key.size()))
            return string.field;
    }
    return std::nullopt;
}
