#pragma once

#include "platformservices.h"

#include <chrono>

class frmScrn;

// The program's start-up: the splash window for the given time, then the
// main window, whose load step restores the saved choices, and finally the
// records of the current database. Nothing is written on the way. The main
// window is built while the splash is on screen and shown when it goes.
//
// Returns the main window, which deletes itself when it closes; from then on
// the program lives on its events.
frmScrn *Main(const PlatformServices &services, std::chrono::milliseconds splashWait);
