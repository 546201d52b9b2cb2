#include "recordoperations.h"

#include "editing/currentdatabase.h"
#include "editing/recordform.h"
#include "platform/appinfo.h"
#include "platform/clock.h"
#include "platform/logcategories.h"
#include "store/ansitext.h"
#include "store/recordedstamp.h"
#include "store/storabletext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

constexpr QLatin1StringView BareWebPrefix{"http://"};

} // namespace

RecordOperations::RecordOperations(RecordForm &form, CurrentDatabase &database, const Clock &clock)
    : m_form(form)
    , m_database(database)
    , m_clock(clock)
{}

void RecordOperations::ChooseRow(int position)
{
    const RegistrationRecord &record = m_database.List().RowAt(position);
    for (int index = 0; index < RecordForm::FieldCount; ++index)
        m_form.SetFieldText(index, AnsiText::ToUnicode(record[RecordForm::RecordFields[index]]));
    const QByteArrayView recorded = record[Field::Recorded];
    m_form.SetCaption(recorded.isEmpty()
                          ? QString(AppInfo::VersionComment)
                          : AppInfo::VersionComment + u" - Modified: "_s + AnsiText::ToUnicode(recorded));
}

RegistrationRecord RecordOperations::RecordFromForm() const
{
    // The form may hand over anything; only storable text reaches the record,
    // so no field can ever shift the others on disk.
    std::array<QByteArray, RegistrationRecord::FieldCount> texts;
    for (int index = 0; index < RecordForm::FieldCount; ++index)
        texts[RecordForm::RecordFields[index]] = StorableText::ToField(m_form.FieldText(index));
    texts[Field::Recorded] = StorableText::ToField(RecordedStamp(m_clock.Now()));
    return RegistrationRecord({texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6]});
}

void RecordOperations::AddRecord()
{
    if (m_form.FieldText(RecordForm::RegistrationField).isEmpty()) {
        ClearFields();
        m_form.SetFieldText(RecordForm::RegistrantField, QString());
        return;
    }
    RecordList &list = m_database.List();
    if (list.Count() >= RecordList::MaximumRows) {
        qCDebug(lcStore) << "database full, record not added";
        return;
    }
    const int position = list.AddRow(RecordFromForm());
    m_database.AppendRecord(list.RowAt(position));
    ClearFieldsAndFocus();
}

void RecordOperations::ReplaceRecord()
{
    const RecordList &list = m_database.List();
    const QString productText = m_form.FieldText(RecordForm::ProductField);
    const QByteArray product = StorableText::ToField(productText);
    const auto &rows = list.Rows();
    const bool found = std::any_of(rows.cbegin(), rows.cend(),
                                   [&](const RegistrationRecord &row) { return row[Field::Product] == product; });
    if (!found) {
        m_form.SetCaption(AppInfo::ApplicationTitle + u" - "_s + productText + u" - Item not found"_s);
        return;
    }
    // The match only guards the command: the selected row is the one changed.
    const int position = list.SelectedPosition();
    if (position == 0)
        return;
    m_database.List().SetCells(position, RecordFromForm());
    m_database.RewriteDatabase();
    ClearFieldsAndFocus();
}

void RecordOperations::RemoveRecord()
{
    RecordList &list = m_database.List();
    const int position = list.SelectedPosition();
    if (position == 0)
        return;
    if (list.RowAt(position)[Field::Product] != StorableText::ToField(m_form.FieldText(RecordForm::ProductField)))
        return;
    list.RemoveRow(position);
    m_database.RewriteDatabase();
    ClearFieldsAndFocus();
}

void RecordOperations::ClearFieldsCommand()
{
    m_form.SetCaption(AppInfo::ApplicationTitle);
    ClearFieldsAndFocus();
}

void RecordOperations::RunToolbarCommand(RecordCommand command)
{
    if (m_form.FieldText(RecordForm::WebContactField) == BareWebPrefix)
        m_form.SetFieldText(RecordForm::WebContactField, QString());
    switch (command) {
    case RecordCommand::Add:
        AddRecord();
        break;
    case RecordCommand::Remove:
        RemoveRecord();
        break;
    case RecordCommand::Replace:
        ReplaceRecord();
        break;
    case RecordCommand::ClearFields:
        ClearFieldsCommand();
        break;
    }
    ClearFieldsAndFocus();
}

void RecordOperations::ClearFields()
{
    const QString registrant = m_form.FieldText(RecordForm::RegistrantField);
    for (int index = 0; index < RecordForm::FieldCount; ++index)
        m_form.SetFieldText(index, QString());
    if (m_form.RecallRegistrant())
        m_form.SetFieldText(RecordForm::RegistrantField, registrant);
}

void RecordOperations::ClearFieldsAndFocus()
{
    ClearFields();
    m_form.FocusField(RecordForm::ProductField);
}
