#pragma once

#include "commandarguments.h"
#include "exitcode.h"

class CliContext;

// Records out to CSV, JSON or KeePass 2 XML.
ExitCode ExportRecords(const CliContext &context, const CommandArguments &arguments);
