#pragma once

#include "registrationrecord.h"

#include <QLatin1StringView>

#include <array>

// The names of a record's seven fields, in column order, as the record list's
// column headers show them.
namespace FieldNames {

inline constexpr std::array<QLatin1StringView, RegistrationRecord::FieldCount> Names = {
    QLatin1StringView("Product"),      QLatin1StringView("Registrant"),  QLatin1StringView("Customer ID"),
    QLatin1StringView("Registration"), QLatin1StringView("Web Contact"), QLatin1StringView("Registration Date"),
    QLatin1StringView("Recorded"),
};

inline QLatin1StringView Name(RegistrationRecord::Field field)
{
    return Names[field];
}

} // namespace FieldNames
