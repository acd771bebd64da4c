// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "savefaults.h"

#include "document/saldrixerror.h"
#include "ini/treeio.h"

namespace testfiles {

QString errorOf(const std::function<void()> &io)
{
    try {
        io();
    } catch (const SaldrixError &error) {
        return error.message();
    }
    return QStringLiteral("<done>");
}

QString errorOfSave(const DocumentTree &tree, const QString &fileName)
{
    return errorOf([&] { SaveTreeToIni(tree, fileName); });
}

} // namespace testfiles
