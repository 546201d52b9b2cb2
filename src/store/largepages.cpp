#include "largepages.h"

#include <sys/mman.h>

void LargePages::Prefer(void *room, qsizetype bytes)
{
    // Only the whole large pages within the room.
    constexpr quintptr LargePage = 2 * 1024 * 1024;
    const auto first = quintptr(room);
    const quintptr start = (first + LargePage - 1) & ~(LargePage - 1);
    const quintptr end = (first + quintptr(bytes)) & ~(LargePage - 1);
    if (end > start)
        ::madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
}
