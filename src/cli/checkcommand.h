#pragma once

#include "commandarguments.h"
#include "exitcode.h"

class CliContext;

// Reports the damaged lines of the database files.
ExitCode CheckDatabases(const CliContext &context, const CommandArguments &arguments);
