#pragma once

#include "store/registrationrecord.h"

#include <QList>

// A reproducible database of realistic records, about 120 plain characters
// each, as a user with a large collection of software would have.
QList<RegistrationRecord> MakeBenchmarkRecords(int count);
