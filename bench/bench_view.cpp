// saldrix_bench view FILE: the tree view over a loaded file, offscreen. Loads the file, builds
// and shows the view, expands every section, scrolls to the end and selects every option of the
// largest section the way a click and a Shift+click do, painting after each step. Prints the
// milliseconds of each step as name=value pairs.
#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/treeio.h"
#include "editor/treelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <cstdio>

namespace {

// Lets the view lay itself out and paint what it shows.
void settle(TreeList &view)
{
    QCoreApplication::processEvents();
    view.viewport()->repaint();
}

} // namespace

int benchView(int argc, char *argv[], const QStringList &args)
{
    if (args.size() != 1) {
        std::fputs("usage: saldrix_bench view FILE\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

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
    return 0;
}
