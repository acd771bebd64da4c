// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The progress display an export run drives. The run calls BeginProgress once, StepProgress once
// per exported disc, and EndProgress once on every way out (also after a failure). EndProgress is
// called while an exception may be unwinding, so it must not throw.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;

    // Shows the display with the range 0 to total (total >= 0) at position 0.
    virtual void BeginProgress(int total) = 0;
    // Advances the position by one.
    virtual void StepProgress() = 0;
    // Removes the display.
    virtual void EndProgress() = 0;
};

// For runs without a window: the benchmark, scripted exports.
class NullExportProgress final : public ExportProgress {
public:
    void BeginProgress(int) override { }
    void StepProgress() override { }
    void EndProgress() override { }
};
