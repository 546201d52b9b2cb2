#pragma once

#include "exitcode.h"

#include <QStringList>

class CliContext;

// Runs korvane-cli with its arguments (without the program's own name).
ExitCode RunKorvaneCli(const CliContext &context, const QStringList &arguments);
