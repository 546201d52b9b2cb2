#pragma once

#include "commandarguments.h"
#include "exitcode.h"

class CliContext;

// Records in from CSV, JSON or KeePass 2 XML, appended to one database.
ExitCode ImportRecords(const CliContext &context, const CommandArguments &arguments);
