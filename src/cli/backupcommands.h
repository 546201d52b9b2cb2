#pragma once

#include "commandspec.h"

// All four databases into one file and back, without the export's size limit.
extern const CommandSpec BackupCommand;
extern const CommandSpec RestoreCommand;
