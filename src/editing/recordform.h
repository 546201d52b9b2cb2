#pragma once

#include "store/registrationrecord.h"

#include <QString>

#include <array>

// What the record operations need of the window that shows a record: the six
// input fields, addressed by their index, the window caption, the
// "Recall Registrant" option, and a way to tell assistive technology what a
// command did.
class RecordForm
{
public:
    // Input field indexes, as the window's field array numbers them.
    enum FieldIndex {
        WebContactField = 0,
        ProductField = 1,
        RegistrantField = 2,
        RegistrationField = 3,
        CustomerIdField = 4,
        RegistrationDateField = 5,
    };
    static constexpr int FieldCount = 6;

    // The record field each input field shows, by field index. The Recorded
    // time has no input field.
    static constexpr std::array<RegistrationRecord::Field, FieldCount> RecordFields = {
        RegistrationRecord::WebContact,   RegistrationRecord::Product,    RegistrationRecord::Registrant,
        RegistrationRecord::Registration, RegistrationRecord::CustomerId, RegistrationRecord::RegistrationDate,
    };

    virtual ~RecordForm() = default;

    virtual QString FieldText(int index) const = 0;
    virtual void SetFieldText(int index, const QString &text) = 0;
    virtual void FocusField(int index) = 0;
    virtual void SetCaption(const QString &caption) = 0;
    virtual bool RecallRegistrant() const = 0;
    // Heard, not seen: nothing on the window changes.
    virtual void Announce(const QString &text) = 0;
};
