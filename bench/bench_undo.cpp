// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// saldrix_bench undo FILE: the history on a loaded file, in the main window offscreen. Opens the
// file, deletes every option of its largest section as one step, undoes, redoes and undoes again,
// each until the tree has painted, and checks that the tree is then the one read from the file.
#include "bench/benchwidgets.h"
#include "bench/commands.h"

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "editor/saldrixmain.h"
#include "ini/treeio.h"
#include "treeview/treelist.h"

#include <QApplication>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

class AgreeingDialogs : public UserDialogs {
public:
    Answer askSaveChanges(QWidget *) override { return Answer::No; }
    bool confirm(QWidget *, const QString &) override { return true; }
    std::optional<QString> chooseFile(QFileDialog &) override { return std::nullopt; }
    void showInformation(QWidget *, const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void showError(QWidget *, const QString &message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool offerRecovery(QWidget *, const QString &, const QDateTime &) override { return false; }
};

bool sameTree(const DocumentTree &a, const DocumentTree &b)
{
    if (a.sectionCount() != b.sectionCount())
        return false;
    for (int s = 0; s < a.sectionCount(); ++s) {
        if (a.optionCount(s) != b.optionCount(s) || a.imageIndex(a.sectionIndex(s)) != b.imageIndex(b.sectionIndex(s)))
            return false;
        for (int column = 0; column < DocumentTree::ColumnCount; ++column) {
            if (a.sectionText(s, column) != b.sectionText(s, column))
                return false;
        }
        for (int o = 0; o < a.optionCount(s); ++o) {
            if (a.optionText(s, o, 0) != b.optionText(s, o, 0) || a.optionText(s, o, 1) != b.optionText(s, o, 1)
                || a.imageIndex(a.optionIndex(s, o)) != b.imageIndex(b.optionIndex(s, o)))
                return false;
        }
    }
    return true;
}

} // namespace

int benchUndo(int argc, char *argv[], const QStringList &args)
{
    QStringList files = args;
    // --every-other deletes every other option of the section instead: a selection of many runs.
    const bool everyOther = files.removeAll(QStringLiteral("--every-other")) > 0;
    if (files.size() != 1) {
        std::fputs("usage: saldrix_bench undo FILE [--every-other]\n", stderr);
        return 2;
    }
    const BenchApplication app(argc, argv);

    DocumentTree loaded;
    try {
        LoadTreeFromIni(loaded, files.first());
    } catch (const SaldrixError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    int largest = -1;
    for (int s = 0; s < loaded.sectionCount(); ++s) {
        if (largest < 0 || loaded.optionCount(s) > loaded.optionCount(largest))
            largest = s;
    }
    if (largest < 0 || loaded.optionCount(largest) == 0) {
        std::fputs("the file has no options\n", stderr);
        return 1;
    }

    AgreeingDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    window.setStartFile(files.first());
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();
    DocumentTree &tree = *window.document();
    TreeList &view = *window.treeList();
    view.expandAll();
    view.selectSingleNode(tree.optionIndex(largest, 0));
    if (everyOther) {
        QList<std::pair<QModelIndex, QModelIndex>> selection;
        for (int o = 0; o < tree.optionCount(largest); o += 2)
            selection.append({ tree.optionIndex(largest, o), tree.optionIndex(largest, o) });
        view.setSelectedRanges(selection);
    } else {
        view.moveFocus(tree.optionIndex(largest, tree.optionCount(largest) - 1), Qt::ShiftModifier);
    }
    const int left = everyOther ? tree.optionCount(largest) / 2 : 0;
    QCoreApplication::processEvents();

    const auto timed = [&view](const std::function<void()> &step) { return msUntilPainted(view, step); };
    const qint64 deleteMs = timed([&window] { window.DeleteSelectedNodes(nullptr); });
    const bool deleted = tree.optionCount(largest) == left && window.undoStack()->count() == 1;
    const qint64 undoMs = timed([&window] { window.actEditUndoExecute(); });
    const qint64 redoMs = timed([&window] { window.actEditRedoExecute(); });
    const bool redone = tree.optionCount(largest) == left;
    const qint64 undoAgainMs = timed([&window] { window.actEditUndoExecute(); });
    const bool same = deleted && redone && sameTree(tree, loaded);
    // The second undo is timed as well; the slower of the two undos is reported.
    std::printf("delete_ms=%lld undo_ms=%lld redo_ms=%lld same=%d\n", static_cast<long long>(deleteMs),
        static_cast<long long>(std::max(undoMs, undoAgainMs)), static_cast<long long>(redoMs), same ? 1 : 0);
    return same ? 0 : 1;
}
