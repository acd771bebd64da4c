// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Which commands may run, as a plain function of the tree's state: the number of sections, the
// level of the focused node (-1 when none is focused) and the number of selected nodes.
struct CommandState {
    bool documentCommands = false; // Save, Save As, Close, Export
    bool sectionCommands = false; // Delete Section, Rename Section
    bool optionAdd = false;
    bool optionCommands = false; // Delete Option, Rename Option, Modify Option Value
    bool deleteSelection = false;

    friend bool operator==(const CommandState &, const CommandState &) = default;
};

[[nodiscard]] CommandState commandState(int sectionCount, int focusedLevel, int selectionCount);
