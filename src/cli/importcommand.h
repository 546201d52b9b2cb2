#pragma once

#include "commandspec.h"

// Records in from CSV, JSON or KeePass 2 XML, appended to one database.
extern const CommandSpec ImportCommand;
