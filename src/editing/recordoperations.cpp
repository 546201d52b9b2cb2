#include "recordoperations.h"

#include "platform/appinfo.h"
#include "editing/currentdatabase.h"
#include "editing/recordedstamp.h"
#include "editing/recordform.h"
#include "platform/clock.h"
#include "platform/logcategories.h"
#include "store/ansitext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// Which input field fills which record field when a record is built from
// the form, in the order the cells are set.
struct FieldMapping
{
    Field field;
    int index;
};
constexpr FieldMapping CellsFromFields[] = {
    {Field::Registrant, RecordForm::RegistrantField},
    {Field::CustomerId, RecordForm::CustomerIdField},
    {Field::Registration, RecordForm::RegistrationField},
    {Field::WebContact, RecordForm::WebContactField},
    {Field::RegistrationDate, RecordForm::RegistrationDateField},
};

// The order in which a chosen row fills the fields.
constexpr FieldMapping FieldsFromRow[] = {
    {Field::WebContact, RecordForm::WebContactField},
    {Field::Product, RecordForm::ProductField},
    {Field::Registrant, RecordForm::RegistrantField},
    {Field::RegistrationDate, RecordForm::RegistrationDateField},
    {Field::Registration, RecordForm::RegistrationField},
    {Field::CustomerId, RecordForm::CustomerIdField},
};

constexpr QLatin1StringView BareWebPrefix{"http://"};

} // namespace

RecordOperations::RecordOperations(RecordForm &form, CurrentDatabase &database, const Clock &clock)
    : m_form(form)
    , m_database(database)
    , m_clock(clock)
{
}

void RecordOperations::ChooseRow(int position)
{
    const RegistrationRecord &record = m_database.List().RowAt(position);
    for (const FieldMapping &mapping : FieldsFromRow)
        m_form.SetFieldText(mapping.index, AnsiText::ToUnicode(record[mapping.field]));
    const QByteArray &recorded = record[Field::Recorded];
    m_form.SetCaption(recorded.isEmpty() ? QString(AppInfo::VersionComment)
                                         : AppInfo::VersionComment + u" - Modified: "_s + AnsiText::ToUnicode(recorded));
}

RegistrationRecord RecordOperations::RecordFromForm() const
{
    RegistrationRecord record;
    record[Field::Product] = AnsiText::FromUnicode(m_form.FieldText(RecordForm::ProductField));
    for (const FieldMapping &mapping : CellsFromFields)
        record[mapping.field] = AnsiText::FromUnicode(m_form.FieldText(mapping.index));
    record[Field::Recorded] = AnsiText::FromUnicode(RecordedStamp(m_clock.Now()));
    return record;
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
    const QByteArray product = AnsiText::FromUnicode(productText);
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
    if (list.RowAt(position)[Field::Product] != AnsiText::FromUnicode(m_form.FieldText(RecordForm::ProductField)))
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

void RecordOperations::RunToolbarButton(int button)
{
    if (m_form.FieldText(RecordForm::WebContactField) == BareWebPrefix)
        m_form.SetFieldText(RecordForm::WebContactField, QString());
    switch (button) {
    case 1:
        AddRecord();
        break;
    case 2:
        RemoveRecord();
        break;
    case 3:
        ReplaceRecord();
        break;
    case 4:
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
