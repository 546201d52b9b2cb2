#pragma once

#include "commandspec.h"

// Damaged lines of the database files, for a person to find and mend.
extern const CommandSpec CheckCommand;
