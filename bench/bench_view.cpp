// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// saldrix_bench view FILE: the tree view over a loaded file, offscreen. Loads the file, builds
// and shows the view, expands every section, scrolls to the end and selects every option of the
// largest section the way a click and a Shift+click do, painting after each step. Then opens the
// file in the main window and deletes every option of the largest section, and then every other
// option of it, through the window's delete command. Prints the milliseconds of each step as
// name=value pairs. With --stalls, measures instead how long the window stops answering while it
// loads the file (see measureStalls).
#include "bench/benchwidgets.h"
#include "bench/commands.h"

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "editor/saldrixmain.h"
#include "ini/treeio.h"
#include "treeview/treelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

// Lets the view lay itself out and paint what it shows.
void settle(TreeList &view)
{
    QCoreApplication::processEvents();
    view.viewport()->repaint();
}

// Says yes to every question and reports anything else on stderr.
class AgreeingDialogs : public UserDialogs {
public:
    Answer askSaveChanges(QWidget *) override { return Answer::No; }
    bool confirm(QWidget *, const QString &) override { return true; }
    std::optional<QString> chooseFile(QFileDialog &) override { return std::nullopt; }
    void showInformation(QWidget *, const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void showError(QWidget *, const QString &message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool offerRecovery(QWidget *, const QString &, const QDateTime &) override { return false; }
};

// Opens the file in a main window, selects the options of a section (all of them, or every
// other one) and times the window's delete command until the tree has painted again. Returns the
// milliseconds and the options left in the section, or -1 milliseconds when the file did not load.
std::pair<qint64, int> timeDelete(const QString &fileName, int section, bool everyOther)
{
    AgreeingDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    window.setStartFile(fileName);
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();
    DocumentTree &tree = *window.document();
    TreeList &view = *window.treeList();
    if (section >= tree.sectionCount() || tree.optionCount(section) == 0)
        return { -1, 0 };
    view.expandAll();
    const int count = tree.optionCount(section);
    if (everyOther) {
        QList<std::pair<QModelIndex, QModelIndex>> selection;
        for (int row = 0; row < count; row += 2)
            selection.append({ tree.optionIndex(section, row), tree.optionIndex(section, row) });
        view.setFocusedNode(tree.optionIndex(section, 0));
        view.setSelectedRanges(selection);
    } else {
        view.selectSingleNode(tree.optionIndex(section, 0));
        view.moveFocus(tree.optionIndex(section, count - 1), Qt::ShiftModifier);
    }
    settle(view);

    QElapsedTimer clock;
    clock.start();
    window.DeleteSelectedNodes(nullptr);
    settle(view);
    return { clock.elapsed(), tree.optionCount(section) };
}

// Opens the file in a shown main window the way a start file is opened, with a timer ticking
// every two milliseconds, and reports the longest time between two ticks from just before the
// load until the loaded tree has painted: how long the window did not answer.
int measureStalls(const QString &fileName)
{
    AgreeingDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    window.resize(800, 600);
    window.setStartFile(fileName);

    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });

    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start();
    window.show(); // the start file loads from the event loop right after
    while (window.document()->sectionCount() == 0 && clock.elapsed() < 600'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 loadMs = clock.elapsed();
    // The view lays out the new tree and paints it in the passes that follow.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    longest = std::max(longest, sinceTick.elapsed());
    std::printf("load_ms=%lld sections=%d max_stall_ms=%lld\n", static_cast<long long>(loadMs),
        window.document()->sectionCount(), static_cast<long long>(longest));
    return window.document()->sectionCount() > 0 ? 0 : 1;
}

} // namespace

int benchView(int argc, char *argv[], QStringList args)
{
    const bool stalls = !args.isEmpty() && args.first() == QLatin1String("--stalls");
    if (stalls)
        args.removeFirst();
    if (args.size() != 1) {
        std::fputs("usage: saldrix_bench view [--stalls] FILE\n", stderr);
        return 2;
    }
    const BenchApplication app(argc, argv);
    if (stalls)
        return measureStalls(args.first());

    DocumentTree tree;
    QElapsedTimer clock;
    clock.start();
    try {
        LoadTreeFromIni(tree, args.first());
    } catch (const SaldrixError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    const qint64 loadMs = clock.restart();

    int options = 0;
    int largest = -1;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        options += tree.optionCount(s);
        if (largest < 0 || tree.optionCount(s) > tree.optionCount(largest))
            largest = s;
    }

    TreeList view;
    view.resize(800, 600);
    view.setDocument(&tree);
    view.show();
    settle(view);
    const qint64 showMs = clock.restart();

    view.expandAll();
    settle(view);
    const qint64 expandMs = clock.restart();

    view.scrollToBottom();
    settle(view);
    const qint64 scrollMs = clock.restart();

    int selected = 0;
    qint64 selectMs = 0;
    if (largest >= 0 && tree.optionCount(largest) > 0) {
        const QModelIndex first = tree.optionIndex(largest, 0);
        const QModelIndex last = tree.optionIndex(largest, tree.optionCount(largest) - 1);
        clock.restart();
        view.selectSingleNode(first);
        view.moveFocus(last, Qt::ShiftModifier);
        settle(view);
        selected = view.selectionCount();
        selectMs = clock.restart();
    }

    // A step through the selection as the window's enabling rules read it after each change.
    clock.restart();
    for (int i = 0; i < 100; ++i)
        (void)view.selectionCount();
    const qint64 countMs = clock.restart();

    std::printf("sections=%d options=%d load_ms=%lld show_ms=%lld expand_ms=%lld scroll_ms=%lld select_ms=%lld "
                "selected=%d count100_ms=%lld scroll_value=%d\n",
        tree.sectionCount(), options, static_cast<long long>(loadMs), static_cast<long long>(showMs),
        static_cast<long long>(expandMs), static_cast<long long>(scrollMs), static_cast<long long>(selectMs), selected,
        static_cast<long long>(countMs), view.verticalScrollBar()->value());
    std::fflush(stdout);

    if (largest >= 0) {
        const auto [allMs, allLeft] = timeDelete(args.first(), largest, false);
        std::printf("delete_all_ms=%lld left=%d\n", static_cast<long long>(allMs), allLeft);
        std::fflush(stdout);
        const auto [otherMs, otherLeft] = timeDelete(args.first(), largest, true);
        std::printf("delete_every_other_ms=%lld left=%d\n", static_cast<long long>(otherMs), otherLeft);
    }
    return 0;
}
