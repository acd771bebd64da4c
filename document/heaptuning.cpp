// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/heaptuning.h"

#include <malloc.h>

void tuneHeapForDocuments()
{
    // A document is built on the loading thread and freed on the window's. With one arena the
    // memory of a closed document serves the next one, instead of a second heap growing page by
    // page beside the first.
    mallopt(M_ARENA_MAX, 1);
    // The heap grows in large steps, and a file's bytes and the document's text buffers come from
    // it rather than from mappings of their own: each new mapping is faulted in page by page again.
    mallopt(M_TOP_PAD, 16 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
}

void returnFreedHeap()
{
    // Freed blocks in the middle of the heap stay in the process until they are trimmed.
    malloc_trim(0);
}
