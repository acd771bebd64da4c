// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The C heap, set up for documents of millions of small texts.

// Called once at the start of main(), before any other thread runs.
void tuneHeapForDocuments();
// Gives the memory of a closed document back to the system.
void returnFreedHeap();
