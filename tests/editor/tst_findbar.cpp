// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Find and filter: each option of the search, the count, wrap-around, the bar's keys, and the
// commands while the filter hides nodes.
#include "mainwindowfixture.h"

#include "dialogs/announcer.h"
#include "editor/findbar.h"
#include "editor/treefilter.h"
#include "find/treefind.h"
#include "treeview/treefiltermodel.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <utility>

namespace {

const QByteArray FindIni = "[Alpha]\nkey=apple\nname=Beta\n[beta]\nx=1\ny=ALPHA\n[gamma]\nz=3\nalpha=9\n";

// Shows the window, opens the find bar from the menu with "Show only matches" ticked, and types
// `text`: whether the bar has counted the matches.
bool showOnlyMatchesOf(MainWindowFixture &f, const QString &text)
{
    f.window->show();
    if (!QTest::qWaitForWindowExposed(f.window.get()))
        return false;
    FindBar &bar = *f.window->findBar();
    f.trigger("actEditFind");
    bar.chkShowOnlyMatches->setChecked(true);
    bar.edtFindText->setText(text);
    return QTest::qWaitFor([&bar] { return !bar.countText().isEmpty(); });
}

} // namespace

class tst_FindBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void barCountsStepsAndWraps();
    void escapeClosesAndFocusesTheMatch();
    void showOnlyMatchesHidesTheRest();
    void typingOnFiltersAsIfAnew();
    void commandsActOnWhatIsShown();
    void deleteAndDropKeepHiddenNodes();
    void barFitsTheFirstRunWindow();
    void findAgainWithTheBarClosed();
    void filterShowsTheResultItIsGiven();
    void filterKeepsTheMatchOpenAndInView();
    void commandsNameTheDocumentsNodes();
    void filterShowsLaterMatches();
    void countFollowsLargeDeletions();
    void stepsThroughLargeSections();
};

void tst_FindBar::barCountsStepsAndWraps()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    QVERIFY(!bar.isVisible());
    f.trigger("actEditFind");
    QVERIFY(bar.isVisible());
    QCOMPARE(QApplication::focusWidget(), bar.edtFindText);
    QVERIFY(bar.chkNames->isChecked() && bar.chkValues->isChecked() && !bar.chkMatchCase->isChecked());

    QTest::keyClicks(bar.edtFindText, QStringLiteral("alph"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("1 of 3")); // once the typing pauses
    QCOMPARE(f.focusedName(), QStringLiteral("Alpha"));
    QVERIFY(f.view().isCellHighlighted(f.tree().optionIndex(1, 1, 1)));
    QVERIFY(!f.view().isCellHighlighted(f.tree().optionIndex(1, 1, 0)));
    QTest::keyClick(bar.edtFindText, Qt::Key_Return);
    QCOMPARE(bar.countText(), QStringLiteral("2 of 3"));
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    QCOMPARE(f.selectedNames(), QStringList({ "y" }));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("alpha"));
    QVERIFY(f.view().isExpanded(f.tree().sectionIndex(2)));
    QVERIFY(bar.wrapText().isEmpty());
    QTest::keyClick(bar.edtFindText, Qt::Key_Enter);
    QCOMPARE(bar.countText(), QStringLiteral("1 of 3"));
    QVERIFY(!bar.wrapText().isEmpty()); // passed the end
    QTest::keyClick(bar.edtFindText, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(bar.countText(), QStringLiteral("3 of 3"));
    QVERIFY(!bar.wrapText().isEmpty()); // passed the top
    QTest::keyClick(f.window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(bar.countText(), QStringLiteral("2 of 3"));
    QVERIFY(bar.wrapText().isEmpty());

    bar.chkMatchCase->setChecked(true);
    QCOMPARE(bar.countText(), QStringLiteral("1 of 1")); // the option "alpha" only
    bar.chkMatchCase->setChecked(false);
    bar.chkNames->setChecked(false);
    QCOMPARE(bar.countText(), QStringLiteral("1 of 1"));
    // The count follows changes of the document.
    f.tree().setData(f.tree().optionIndex(0, 0, 1), QStringLiteral("alphabet"));
    QCOMPARE(bar.matchCount(), 2);
    bar.edtFindText->setText(QStringLiteral("zzz"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("No matches"));
}

void tst_FindBar::escapeClosesAndFocusesTheMatch()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    f.trigger("actEditFind");
    bar.chkShowOnlyMatches->setChecked(true);
    QTest::keyClicks(bar.edtFindText, QStringLiteral("ALPHA"));
    QTest::keyClick(bar.edtFindText, Qt::Key_Return);
    QVERIFY(f.view().isRowHidden(0, f.tree().sectionIndex(1)));
    QTest::keyClick(bar.edtFindText, Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QCOMPARE(QApplication::focusWidget(), &f.view());
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    QVERIFY(!f.view().isRowHidden(0, f.tree().sectionIndex(1)));
    QVERIFY(!bar.filter()->isActive());
}

void tst_FindBar::showOnlyMatchesHidesTheRest()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    FindBar &bar = *f.window->findBar();
    bar.open();
    bar.chkShowOnlyMatches->setChecked(true);
    bar.edtFindText->setText(QStringLiteral("beta"));
    QTRY_VERIFY(!bar.countText().isEmpty());
    const TreeList &view = f.view();
    const DocumentTree &tree = f.tree();
    // "Alpha" shows through its option "name=Beta", and only that option; "beta" matches by name
    // and keeps all its options; "gamma" has no match.
    QVERIFY(!view.isRowHidden(0, {}));
    QVERIFY(view.isRowHidden(0, tree.sectionIndex(0)));
    QVERIFY(!view.isRowHidden(1, tree.sectionIndex(0)));
    QVERIFY(!view.isRowHidden(1, {}));
    QVERIFY(!view.isRowHidden(0, tree.sectionIndex(1)) && !view.isRowHidden(1, tree.sectionIndex(1)));
    QVERIFY(view.isRowHidden(2, {}));
    bar.chkShowOnlyMatches->setChecked(false);
    QVERIFY(!view.isRowHidden(2, {}) && !view.isRowHidden(0, tree.sectionIndex(0)));
}

// Each new text changes only the rows whose state changes; what is shown must still be exactly what
// the text shows, whatever was hidden before (a section hidden whole keeps its options' old state).
void tst_FindBar::typingOnFiltersAsIfAnew()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    FindBar &bar = *f.window->findBar();
    bar.open();
    bar.chkShowOnlyMatches->setChecked(true);
    const TreeList &view = f.view();
    const DocumentTree &tree = f.tree();
    const auto shownRows = [&] {
        QString shown;
        for (int s = 0; s < tree.sectionCount(); ++s) {
            if (view.isRowHidden(s, {}))
                continue;
            shown += tree.sectionText(s, 0) + u'(';
            for (int o = 0; o < tree.optionCount(s); ++o) {
                if (!view.isRowHidden(o, tree.sectionIndex(s)))
                    shown += tree.optionText(s, o, 0) + u' ';
            }
            shown += u')';
        }
        return shown;
    };
    const QList<std::pair<QString, QString>> steps {
        { "name", "Alpha(name )" },
        { "zzz", "" },
        { "alpha", "Alpha(key name )beta(y )gamma(alpha )" },
        { "x", "beta(x )" },
        { "", "Alpha(key name )beta(x y )gamma(z alpha )" },
        { "be", "Alpha(name )beta(x y )" },
        { "alp", "Alpha(key name )beta(y )gamma(alpha )" },
    };
    for (const auto &[text, shown] : steps) {
        bar.edtFindText->setText(text);
        QCOMPARE(bar.matchCount(), static_cast<int>(findInTree(tree, bar.options()).size()));
        QCOMPARE(shownRows(), shown);
    }
    bar.chkShowOnlyMatches->setChecked(false);
    QCOMPARE(shownRows(), QStringLiteral("Alpha(key name )beta(x y )gamma(z alpha )"));
}

void tst_FindBar::commandsActOnWhatIsShown()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nk1=x\nk2=hit\nk3=x\nk4=hit\n[b]\nq=x\n"));
    QVERIFY(showOnlyMatchesOf(f, QStringLiteral("hit")));
    TreeList &view = f.view();
    // A range runs over shown nodes only, so Ctrl+Ins copies and Delete removes only those.
    view.selectRange(f.tree().optionIndex(0, 0), f.tree().optionIndex(0, 3), false);
    QCOMPARE(f.selectedNames(), QStringList({ "k2", "k4" }));
    QVERIFY(!view.selectionText().contains(QStringLiteral("k3")));
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditDeleteSelection");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k3=x) b(q=x)"));
    // An added node is shown although it does not match.
    view.setFocusedNode(f.tree().sectionIndex(0));
    f.trigger("actEditOptionAdd");
    QVERIFY(!view.isRowHidden(2, f.tree().sectionIndex(0)));
    f.trigger("actEditSectionAdd");
    QVERIFY(!view.isRowHidden(2, {}));
    // Undoing the delete puts the nodes back where they were, shown.
    f.trigger("actEditUndo");
    f.trigger("actEditUndo");
    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit,k3=x,k4=hit) b(q=x)"));
    QVERIFY(!view.isRowHidden(1, f.tree().sectionIndex(0)));
    QVERIFY(f.dialogs.settled());
}

// A section that shows only some of its options keeps the hidden ones when it is deleted, and a
// drop after the last shown node lands before the hidden nodes that follow it.
void tst_FindBar::deleteAndDropKeepHiddenNodes()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nk1=x\nk2=hit\n[b]\nhit=1\n[d]\nm=hit\nn=x\n[c]\nq=x\n"));
    QVERIFY(showOnlyMatchesOf(f, QStringLiteral("hit")));
    TreeList &view = f.view();
    const DocumentTree &tree = f.tree();
    QVERIFY(view.isRowHidden(3, {}) && view.isRowHidden(1, tree.sectionIndex(2)));

    const auto drop = [&](const QModelIndex &node, const QModelIndex &intoSection) {
        view.selectSingleNode(node);
        QPoint at(60, view.viewport()->height() - 3); // below the last row: after the last section
        if (intoSection.isValid())
            at = QPoint(view.visualRect(intoSection).left() + 30, view.visualRect(intoSection).center().y());
        at = view.viewport()->mapTo(&view, at);
        f.window->TreeListDragDrop(&view, &view, at.x(), at.y());
    };
    drop(tree.optionIndex(1, 0), tree.sectionIndex(2)); // b's "hit" into d, whose "n" is hidden
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit) b() d(m=hit,hit=1,n=x) c(q=x)"));
    drop(tree.sectionIndex(0), {}); // a after the last section, while c is hidden
    QCOMPARE(f.outline(), QStringLiteral("b() d(m=hit,hit=1,n=x) a(k1=x,k2=hit) c(q=x)"));

    view.selectSingleNode(tree.sectionIndex(1));
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditSectionDelete");
    // The section goes whole, with the option the filter hides; one undo brings it all back.
    QCOMPARE(f.outline(), QStringLiteral("b() a(k1=x,k2=hit) c(q=x)"));
    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QStringLiteral("b() d(m=hit,hit=1,n=x) a(k1=x,k2=hit) c(q=x)"));
    QVERIFY(f.dialogs.settled());
}

// At the window's first-run size the bar is one row whose text field keeps about twenty
// characters, and nothing it shows moves or widens the window.
void tst_FindBar::barFitsTheFirstRunWindow()
{
    MainWindowFixture f;
    QString ini;
    for (int section = 0; section < 60; ++section)
        ini += QStringLiteral("[section %1]\nkey=value %1\n").arg(section);
    f.open(f.writeFile(QStringLiteral("doc.ini"), ini.toUtf8()));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->size(), QSize(464, 322));
    const QRect placed = f.window->geometry();
    FindBar &bar = *f.window->findBar();
    const auto unchanged = [&] {
        QCoreApplication::processEvents();
        return f.window->geometry() == placed && f.window->minimumSizeHint().width() <= placed.width();
    };

    f.trigger("actEditFind");
    QVERIFY(unchanged());
    QVERIFY(!bar.lblFind->text().isEmpty() || !bar.edtFindText->placeholderText().isEmpty());
    QTest::keyClicks(bar.edtFindText, QStringLiteral("value"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("1 of 60"));
    QVERIFY(unchanged());
    QTest::keyClick(bar.edtFindText, Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(!bar.wrapText().isEmpty());
    QVERIFY(bar.lblWrapped->isVisible());
    const QRect wrapped = bar.lblWrapped->geometry();
    const QRect match = f.view().visualRect(f.view().focusedNode());
    QVERIFY(match.bottom() < wrapped.top() || match.top() > wrapped.bottom()); // the match stays readable
    // Scrolling the rows leaves the message in its corner.
    f.view().verticalScrollBar()->setValue(0);
    QCOMPARE(bar.lblWrapped->geometry().right(), wrapped.right());
    QVERIFY(f.view().viewport()->rect().contains(bar.lblWrapped->geometry()));
    QVERIFY(unchanged());

    // One row: every shown control lies within the bar, side by side; the field takes the rest.
    const int fieldMinimum = bar.edtFindText->fontMetrics().averageCharWidth() * 20;
    QVERIFY2(bar.edtFindText->width() >= fieldMinimum, qPrintable(QString::number(bar.edtFindText->width())));
    QVERIFY(bar.width() <= f.window->width());
    QList<QRect> taken;
    for (const QWidget *control : bar.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        // The announcer takes no room: it only tells screen readers what changed.
        if (!control->isVisible() || qobject_cast<const Announcer *>(control) != nullptr)
            continue;
        const QRect area = control->geometry();
        QVERIFY2(bar.rect().contains(area), qPrintable(control->objectName()));
        for (const QRect &other : std::as_const(taken))
            QVERIFY2(!other.intersects(area), qPrintable(control->objectName()));
        taken << area;
        QVERIFY2(area.top() < bar.edtFindText->geometry().center().y()
                && area.bottom() > bar.edtFindText->geometry().center().y(),
            qPrintable(control->objectName()));
    }
    // A long count is cut rather than given room.
    const int countWidth = bar.lblCount->width();
    bar.lblCount->setText(QStringLiteral("123456789 of 123456789"));
    QVERIFY(unchanged());
    QCOMPARE(bar.lblCount->width(), countWidth);

    QTest::keyClick(bar.edtFindText, Qt::Key_Escape);
    QVERIFY(!bar.lblWrapped->isVisible());
    QVERIFY(unchanged());
}

// F3 and Shift+F3 with the bar closed search the last text again from the focused node; with no
// last text they open the bar.
void tst_FindBar::findAgainWithTheBarClosed()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    f.view().setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QVERIFY(bar.isVisible());
    QCOMPARE(QApplication::focusWidget(), bar.edtFindText);
    QTest::keyClicks(bar.edtFindText, QStringLiteral("alpha"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("1 of 3"));
    QTest::keyClick(bar.edtFindText, Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QCOMPARE(f.focusedName(), QStringLiteral("Alpha"));

    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QVERIFY(!bar.isVisible());
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("alpha"));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("Alpha")); // round again from the top
    QTest::keyClick(f.window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QStringLiteral("alpha"));
    // From wherever the user went meanwhile.
    f.view().selectSingleNode(f.tree().optionIndex(1, 0));
    QTest::keyClick(f.window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QStringLiteral("Alpha"));
    f.view().selectSingleNode(f.tree().optionIndex(1, 0));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    // The document changed since: the search sees the change.
    f.tree().setData(f.tree().optionIndex(2, 0, 1), QStringLiteral("alpha too"));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("z"));
    QVERIFY(!bar.isVisible());
}

// The filter hides by the result it is handed, so the count, the highlight and the view never
// come from different searches.
void tst_FindBar::filterShowsTheResultItIsGiven()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), FindIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    bar.open();
    bar.edtFindText->setText(QStringLiteral("alpha"));
    QCOMPARE(bar.matchCount(), 3);
    // The highlight marks the cells that hold the text, of the matched nodes only.
    QVERIFY(f.view().isCellHighlighted(f.tree().sectionIndex(0)));
    QVERIFY(f.view().isCellHighlighted(f.tree().optionIndex(1, 1, 1)));
    QVERIFY(!f.view().isCellHighlighted(f.tree().optionIndex(1, 1, 0)));
    QVERIFY(!f.view().isCellHighlighted(f.tree().optionIndex(0, 0, 1)));

    const TreeList &view = f.view();
    bar.filter()->apply({ { 1, 1 }, { 2, -1 } });
    QVERIFY(bar.filter()->isActive());
    QVERIFY(view.isRowHidden(0, {}));
    QVERIFY(!view.isRowHidden(1, {}) && view.isRowHidden(0, f.tree().sectionIndex(1)));
    QVERIFY(!view.isRowHidden(1, f.tree().sectionIndex(1)));
    // A section matched by its name shows all its options.
    QVERIFY(!view.isRowHidden(2, {}) && !view.isRowHidden(0, f.tree().sectionIndex(2)));
    bar.filter()->apply({});
    QVERIFY(view.isRowHidden(0, {}) && view.isRowHidden(1, {}) && view.isRowHidden(2, {}));
    bar.filter()->clear();
    QVERIFY(!view.isRowHidden(0, {}) && !view.isRowHidden(0, f.tree().sectionIndex(2)));
}

// Turning "Show only matches" on and off leaves the current match in view with its section open;
// the other sections with matching options are shown open too.
void tst_FindBar::filterKeepsTheMatchOpenAndInView()
{
    MainWindowFixture f;
    QString ini;
    for (int section = 0; section < 150; ++section)
        ini += QStringLiteral("[s%1]\na=1\nb=%2\n").arg(section).arg(section % 50 == 7 ? "hit" : "x");
    f.open(f.writeFile(QStringLiteral("doc.ini"), ini.toUtf8()));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    TreeList &view = f.view();
    const auto inView = [&view](const QModelIndex &node) {
        QCoreApplication::processEvents();
        return view.viewport()->rect().contains(view.visualRect(node));
    };
    f.trigger("actEditFind");
    bar.edtFindText->setText(QStringLiteral("hit"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("1 of 3"));
    QTest::keyClick(bar.edtFindText, Qt::Key_Return);
    QTest::keyClick(bar.edtFindText, Qt::Key_Return);
    const QModelIndex current = f.tree().optionIndex(107, 1);
    QCOMPARE(view.focusedNode(), current);
    QVERIFY(inView(current));
    for (const bool on : { true, false, true, false }) {
        bar.chkShowOnlyMatches->setChecked(on);
        QCOMPARE(view.focusedNode(), current);
        QVERIFY2(inView(current), on ? "filter on" : "filter off");
        QVERIFY(view.isExpanded(f.tree().sectionIndex(107)));
    }
    bar.chkShowOnlyMatches->setChecked(true);
    QVERIFY(view.isExpanded(f.tree().sectionIndex(7)) && view.isExpanded(f.tree().sectionIndex(57)));
}

// The view shows the document through the filter model, whose rows differ from the document's
// under a filter; the window's commands, the cell editor and the focus name the document's nodes.
void tst_FindBar::commandsNameTheDocumentsNodes()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nk1=x\nk2=hit\nk3=x\nk4=hit\n[b]\nq=x\n[c]\nr=hit\n"));
    TreeList &view = f.view();
    const DocumentTree &tree = f.tree();
    auto *filter = qobject_cast<TreeFilterModel *>(view.model());
    QVERIFY(filter != nullptr);
    QCOMPARE(filter->sourceModel(), &tree);
    view.expand(tree.sectionIndex(1));
    view.selectSingleNode(tree.optionIndex(0, 3));

    QVERIFY(showOnlyMatchesOf(f, QStringLiteral("hit")));
    QCOMPARE(f.window->findBar()->filter()->isActive(), true);
    // The focus and the selection stay on the document's node through each switch of the filter.
    view.selectSingleNode(tree.optionIndex(0, 3));
    QCOMPARE(view.selectionModel()->currentIndex().row(), 1);
    QCOMPARE(view.focusedNode(), tree.optionIndex(0, 3));
    QCOMPARE(view.selectedNodes(), QModelIndexList { tree.optionIndex(0, 3) });
    QVERIFY(view.isRowHidden(1, {}));
    for (const bool on : { false, true }) {
        f.window->findBar()->chkShowOnlyMatches->setChecked(on);
        QCOMPARE(view.focusedNode(), tree.optionIndex(0, 3));
        QCOMPARE(view.selectionModel()->currentIndex().row(), on ? 1 : 3);
        QCOMPARE(view.selectedNodes(), QModelIndexList { tree.optionIndex(0, 3) });
        // A section the filter hid is open again once it shows.
        QCOMPARE(view.isRowHidden(1, {}), on);
        QCOMPARE(view.isExpanded(tree.sectionIndex(1)), !on);
    }

    // The in-place editor stores into the document's row, not the view's.
    f.trigger("actEditOptionModifyValue");
    QVERIFY(view.isEditing());
    auto *editor = view.viewport()->findChild<QLineEdit *>();
    QVERIFY(editor != nullptr);
    editor->setText(QStringLiteral("hit4"));
    view.commitEditor();
    QCOMPARE(tree.optionText(0, 3, 1), QStringLiteral("hit4"));
    QCOMPARE(tree.optionText(0, 1, 1), QStringLiteral("hit"));
    // Deleting the focused node deletes the document's; undo brings it back where it stood.
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditOptionDelete");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit,k3=x) b(q=x) c(r=hit)"));
    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit,k3=x,k4=hit4) b(q=x) c(r=hit)"));
    QCOMPARE(view.focusedNode(), tree.optionIndex(0, 3));
    // A deleted first section hands the focus to the next section shown, past the hidden b.
    view.selectSingleNode(tree.sectionIndex(0));
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditSectionDelete");
    QCOMPARE(f.outline(), QStringLiteral("b(q=x) c(r=hit)"));
    QCOMPARE(view.focusedNode(), tree.sectionIndex(1));
    QVERIFY(view.isRowHidden(0, {}));
    QVERIFY(f.dialogs.settled());
}

// A node that comes to match while the filter is on shows once the search has run again; nothing
// shown is hidden by it.
void tst_FindBar::filterShowsLaterMatches()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nk1=x\nk2=hit\n[b]\nq=x\n"));
    QVERIFY(showOnlyMatchesOf(f, QStringLiteral("hit")));
    TreeList &view = f.view();
    QVERIFY(view.isRowHidden(0, f.tree().sectionIndex(0)) && view.isRowHidden(1, {}));
    f.tree().setOptionText(1, 0, DocumentTree::ValueColumn, QStringLiteral("a hit"));
    f.tree().setOptionText(0, 1, DocumentTree::ValueColumn, QStringLiteral("x"));
    QTRY_VERIFY(!view.isRowHidden(1, {}));
    QVERIFY(!view.isRowHidden(0, f.tree().sectionIndex(1)));
    QVERIFY(!view.isRowHidden(1, f.tree().sectionIndex(0)));
    QVERIFY(view.isRowHidden(0, f.tree().sectionIndex(0)));
}

// A deletion of many runs at once, which the document tells as one layout change, is counted too.
void tst_FindBar::countFollowsLargeDeletions()
{
    MainWindowFixture f;
    QString ini;
    for (int section = 0; section < 40; ++section)
        ini += QStringLiteral("[s%1]\nk=hit\n").arg(section);
    f.open(f.writeFile(QStringLiteral("doc.ini"), ini.toUtf8()));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    f.trigger("actEditFind");
    bar.edtFindText->setText(QStringLiteral("hit"));
    QTRY_COMPARE(bar.countText(), QStringLiteral("1 of 40"));
    QList<std::pair<QModelIndex, QModelIndex>> everyOther;
    for (int section = 1; section < 40; section += 2)
        everyOther.append({ f.tree().sectionIndex(section), f.tree().sectionIndex(section) });
    f.view().setSelectedRanges(everyOther);
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditDeleteSelection");
    QCOMPARE(f.tree().sectionCount(), 20);
    QCOMPARE(bar.matchCount(), 20);
    QVERIFY(f.dialogs.settled());
}

// Sections of more options than one word of the match set holds: the count, the place of the
// current match, and stepping on or back from a focused node, at both ends of a word.
void tst_FindBar::stepsThroughLargeSections()
{
    QByteArray ini = "[big]\n";
    for (int option = 0; option < 150; ++option)
        ini += "k" + QByteArray::number(option) + (option % 3 == 0 ? "=hit\n" : "=miss\n");
    ini += "[hit]\nlast=hit\n";
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), ini));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    f.view().selectSingleNode(f.tree().optionIndex(0, 64));
    f.trigger("actEditFind");
    QTest::keyClicks(bar.edtFindText, QStringLiteral("hit"));
    // 50 options of [big], the section [hit] by its name and its option.
    QTRY_COMPARE(bar.countText(), QStringLiteral("23 of 52"));
    QCOMPARE(f.focusedName(), QStringLiteral("k66"));
    QTest::keyClick(bar.edtFindText, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(bar.edtFindText, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QStringLiteral("k60"));
    QCOMPARE(bar.countText(), QStringLiteral("21 of 52"));
    QTest::keyClick(bar.edtFindText, Qt::Key_Escape);
    f.view().selectSingleNode(f.tree().optionIndex(0, 127));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("k129"));
    f.view().selectSingleNode(f.tree().optionIndex(0, 129));
    QTest::keyClick(f.window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(f.focusedName(), QStringLiteral("k126"));
    f.view().selectSingleNode(f.tree().optionIndex(0, 149));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("hit"));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("last"));
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QCOMPARE(f.focusedName(), QStringLiteral("k0")); // round again from the top
}

QTEST_MAIN(tst_FindBar)
#include "tst_findbar.moc"
