// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "export/exportprogress.h"

#include <QPointer>
#include <QWidget>

class QProgressBar;

// The small window with one progress bar that an export run shows inside the wizard.
class TfrmSaldrixProgress : public QWidget {
    Q_OBJECT

public:
    explicit TfrmSaldrixProgress(QWidget *parent);

    [[nodiscard]] QProgressBar *progressBar() const { return ProgressBar1; }

private:
    QProgressBar *ProgressBar1;
};

// Drives a new progress window for each run, as a child of the given window. The run never
// returns to the event loop, so each change is painted at once.
class ProgressWindowDisplay final : public ExportProgress {
public:
    explicit ProgressWindowDisplay(QWidget *parent);
    ~ProgressWindowDisplay() override;
    ProgressWindowDisplay(const ProgressWindowDisplay &) = delete;
    ProgressWindowDisplay &operator=(const ProgressWindowDisplay &) = delete;

    void BeginProgress(int total) override;
    void StepProgress() override;
    void EndProgress() override;

private:
    QWidget *m_parent;
    QPointer<TfrmSaldrixProgress> m_window;
};
