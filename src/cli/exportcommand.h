#pragma once

#include "commandspec.h"

// Records out to CSV, JSON or KeePass 2 XML.
extern const CommandSpec ExportCommand;
