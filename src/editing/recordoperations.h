#pragma once

#include "recordcommand.h"
#include "store/registrationrecord.h"

#include <QString>

class Clock;
class CurrentDatabase;
class RecordForm;

// The record commands of the main window, as plain logic over the form and
// the current database. Each runs to completion inside one user event, asks
// nothing and shows no message box.
class RecordOperations
{
public:
    RecordOperations(RecordForm &form, CurrentDatabase &database, const Clock &clock);

    // A row was chosen in the list: its record goes into the fields and its
    // Recorded time into the caption.
    void ChooseRow(int position);

    void AddRecord();
    void ReplaceRecord();
    void RemoveRecord();
    // "Clear fields": restores the plain caption, then clears.
    void ClearFieldsCommand();

    // A command of the record toolbar: a bare "http://" is emptied first and
    // the fields are cleared after.
    void RunToolbarCommand(RecordCommand command);

    void ClearFields();
    void ClearFieldsAndFocus();

private:
    RegistrationRecord RecordFromForm() const;

    RecordForm &m_form;
    CurrentDatabase &m_database;
    const Clock &m_clock;
};
