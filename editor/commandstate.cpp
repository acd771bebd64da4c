// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/commandstate.h"

CommandState commandState(int sectionCount, int focusedLevel, int selectionCount)
{
    const bool hasSection = sectionCount > 0;
    CommandState state;
    state.documentCommands = hasSection;
    state.sectionCommands = hasSection && focusedLevel == 0;
    state.optionAdd = hasSection;
    state.optionCommands = hasSection && focusedLevel == 1;
    state.deleteSelection = hasSection && selectionCount > 0;
    return state;
}
