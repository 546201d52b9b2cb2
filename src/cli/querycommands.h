#pragma once

#include "commandarguments.h"
#include "exitcode.h"

class CliContext;

// The commands that only read and show records.
ExitCode ListRecords(const CliContext &context, const CommandArguments &arguments);
ExitCode SearchRecords(const CliContext &context, const CommandArguments &arguments);
ExitCode ShowRecords(const CliContext &context, const CommandArguments &arguments);
