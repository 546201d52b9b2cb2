#pragma once

#include <QtGlobal>

namespace LargePages {

// Asks for the room of a buffer in 2 MiB pages where the kernel has them: a
// buffer of megabytes would otherwise cost a page fault every 4 KiB, and on
// a virtual machine those can be most of the time it takes to fill it. Only
// advice; where the kernel has no large pages, nothing changes. Call it
// after reserving the room and before writing to it.
void Prefer(void *room, qsizetype bytes);

} // namespace LargePages
