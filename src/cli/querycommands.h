#pragma once

#include "commandspec.h"

// The commands that only read and show records: list, search and show.
extern const CommandSpec ListCommand;
extern const CommandSpec SearchCommand;
extern const CommandSpec ShowCommand;
