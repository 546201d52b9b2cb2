#pragma once

#include "commandarguments.h"
#include "exitcode.h"

class CliContext;

// All four database files into one backup file, and back.
ExitCode BackUpDatabases(const CliContext &context, const CommandArguments &arguments);
ExitCode RestoreDatabases(const CliContext &context, const CommandArguments &arguments);
