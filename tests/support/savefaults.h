// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <sys/types.h>

class DocumentTree;

// What the fault tests share to see how a read or a save failed.
namespace testfiles {

// The user a root test run lowers itself to, for whom permission bits stop a write.
constexpr uid_t Nobody = 65534;

// The message of the SaldrixError that `io` throws, or "<done>" when it throws none.
[[nodiscard]] QString errorOf(const std::function<void()> &io);
// The same for a save of the tree to the file.
[[nodiscard]] QString errorOfSave(const DocumentTree &tree, const QString &fileName);

} // namespace testfiles
