#pragma once

#include "app/platformservices.h"

class frmScrn;

// Start-up as the program does it, without the splash wait, until the record
// list has been painted with its rows.
frmScrn *StartAndPaint(const PlatformServices &services);

// Quits the program and frees its windows.
void Close(frmScrn *window);
