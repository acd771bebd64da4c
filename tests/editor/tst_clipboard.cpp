// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Cut, Copy and Paste: what text from other programs becomes, the rows that go out and come back
// the same, one history step each, and the filter that must show what was pasted.
#include "mainwindowfixture.h"

#include "editor/clipboardnodes.h"
#include "editor/findbar.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace {

// "(loose=1) a(x=1) b()", the shape outline() gives a tree, for nodes off the clipboard.
QString outlineOf(const ClipboardNodes &nodes)
{
    const auto optionsOf = [](const std::vector<ClipboardOption> &options) {
        QStringList texts;
        for (const ClipboardOption &option : options)
            texts << option.name + u'=' + option.value;
        return texts.join(u',');
    };
    QStringList parts;
    if (!nodes.options.empty())
        parts << u'(' + optionsOf(nodes.options) + u')';
    for (const ClipboardSection &section : nodes.sections)
        parts << section.name + (section.value.isEmpty() ? QString() : u'|' + section.value) + u'('
                + optionsOf(section.options) + u')';
    return parts.join(u' ');
}

const QString Header = QStringLiteral("Section Name / Option Name\tOption Value");

void putText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

class tst_Clipboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void iniTextReadsAsALoadWould_data();
    void iniTextReadsAsALoadWould();
    void copiedRowsAreTakenAtTheGivenLevel();
    void ownFormatSurvivesOnlyWhole();
    void copyKeepsTheRowTextAndPasteRoundTrips();
    void cutAndPasteMoveOptionsAndSections();
    void eachCutAndPasteIsOneStep();
    void pasteTakesIniTextFromOtherPrograms();
    void pasteIntoAnEmptyTree();
    void rowsTextAloneFollowsTheFocusedRow();
    void pastedNodesShowUnderTheFilter();
    void keysRunTheCommandsOnlyOutsideTextFields();
    void menusEndWithTheCommands();
};

void tst_Clipboard::iniTextReadsAsALoadWould_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("outline");

    QTest::addRow("sections and options") << "[a]\nx=1\ny = 2 \n[b]\nz=3\n"
                                          << "a(x=1,y=2) b(z=3)";
    QTest::addRow("options before a header join the section pasted into") << "k=v\n[a]\nx=1"
                                                                          << "(k=v) a(x=1)";
    QTest::addRow("options alone") << "k=v\r\nl=w\r\n"
                                   << "(k=v,l=w)";
    QTest::addRow("CR line ends") << "[a]\rx=1\ry=2\r"
                                  << "a(x=1,y=2)";
    QTest::addRow("a repeated header goes on with its section") << "[a]\nx=1\n[b]\n[a]\ny=2\n"
                                                                << "a(x=1,y=2) b()";
    QTest::addRow("a repeated name keeps its first value") << "[a]\nx=1\nx=2\nk=v\nk=w"
                                                           << "a(x=1,k=v)";
    QTest::addRow("comments, blanks and other lines hold nothing") << "; note\n# more\n\n[a]\njust words\n  ;x=1\nx=1\n"
                                                                   << "a(x=1)";
    QTest::addRow("a header without its bracket, and an option that looks like one") << "[abc\n[x=1\n"
                                                                                     << "abc([x=1)";
    QTest::addRow("empty names and values, and a second '='") << "[]\n=v\nk=\nurl=a=b\n"
                                                              << "(=v,k=,url=a=b)";
    QTest::addRow("text in many scripts") << "[Ελληνικά]\n名前=値\nключ=значение 🙂\n"
                                          << "Ελληνικά(名前=値,ключ=значение 🙂)";
    QTest::addRow("plain words are nothing") << "hello world\nsecond line"
                                             << "";
}

void tst_Clipboard::iniTextReadsAsALoadWould()
{
    QFETCH(QString, text);
    QFETCH(QString, outline);
    const ClipboardNodes nodes = nodesFromIniText(text);
    // "[]" is a section without a name: the outline shows it as "(...)", which reads as loose options.
    if (text.startsWith(u"[]")) {
        QCOMPARE(nodes.sections.size(), size_t(1));
        QCOMPARE(nodes.sections.front().name, QString());
        QVERIFY(nodes.options.empty());
    }
    QCOMPARE(outlineOf(nodes), outline);
}

void tst_Clipboard::copiedRowsAreTakenAtTheGivenLevel()
{
    const QString rows = Header + QStringLiteral("\r\n\r\nx\t1\r\nname only\r\n\t\r\ntab\tin\tvalue\r\n");
    QCOMPARE(outlineOf(nodesFromRows(rows, { Header }, RowLevel::Options)),
        QStringLiteral("(x=1,name only=,=,tab=in\tvalue)"));
    QCOMPARE(outlineOf(nodesFromRows(rows, { Header }, RowLevel::Sections)),
        QStringLiteral("x|1() name only() () tab|in\tvalue()"));
    // Only the copy's header makes rows of the lines; an empty copy holds no row.
    QVERIFY(nodesFromRows(QStringLiteral("Other\theader\r\n\r\nx\t1\r\n"), { Header }, RowLevel::Options).empty());
    QVERIFY(nodesFromRows(Header + QStringLiteral("\r\n\r\n"), { Header }, RowLevel::Options).empty());
    // A copy's rows are never read as INI text, whatever they hold.
    QMimeData data;
    data.setText(Header + QStringLiteral("\r\n\r\n[x]\ta=b\r\n"));
    QCOMPARE(outlineOf(clipboardNodes(data, { Header }, RowLevel::Options)), QStringLiteral("([x]=a=b)"));
}

void tst_Clipboard::ownFormatSurvivesOnlyWhole()
{
    ClipboardNodes nodes;
    nodes.sections.push_back({ QStringLiteral("s=[x]"), QStringLiteral("v"), { { QString(), QStringLiteral("\n") } } });
    nodes.options.push_back({ QStringLiteral(";k"), QStringLiteral(" spaced ") });
    const std::unique_ptr<QMimeData> data = clipboardData(nodes, QStringLiteral("rows"));
    QCOMPARE(data->text(), QStringLiteral("rows"));
    QVERIFY(clipboardNodes(*data, { Header }, RowLevel::Options) == nodes);

    // Cut short or from another version, the nodes give way to the text beside them.
    const QString format = data->formats().constLast();
    QVERIFY(format != QStringLiteral("text/plain"));
    QByteArray bytes = data->data(format);
    data->setData(format, bytes.left(bytes.size() - 3));
    data->setText(QStringLiteral("[t]\nk=v"));
    QCOMPARE(outlineOf(clipboardNodes(*data, { Header }, RowLevel::Options)), QStringLiteral("t(k=v)"));
    bytes[3] = 9;
    data->setData(format, bytes);
    QCOMPARE(outlineOf(clipboardNodes(*data, { Header }, RowLevel::Options)), QStringLiteral("t(k=v)"));
    // A count far beyond the bytes reads as a broken copy, not as a long one.
    QByteArray huge = bytes;
    huge[3] = 1;
    for (int i = 4; i < 12; ++i)
        huge[i] = char(0x7f);
    data->setData(format, huge);
    QCOMPARE(outlineOf(clipboardNodes(*data, { Header }, RowLevel::Options)), QStringLiteral("t(k=v)"));
}

void tst_Clipboard::copyKeepsTheRowTextAndPasteRoundTrips()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    TreeList &view = f.view();
    view.selectRange(f.tree().optionIndex(0, 0), f.tree().optionIndex(0, 1), false);
    f.trigger("actEditCopy");
    QCOMPARE(QGuiApplication::clipboard()->text(), Header + QStringLiteral("\r\n\r\nx\t1\r\ny\t2\r\n"));
    QVERIFY(!f.window->isModified());

    // Options go at the end of a focused section, or after a focused option.
    view.selectSingleNode(f.tree().sectionIndex(1));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3,x=1,y=2)"));
    QCOMPARE(f.selectedNames(), QStringList({ "x", "y" }));
    QCOMPARE(view.focusedNode(), f.tree().optionIndex(1, 1));
    view.selectSingleNode(f.tree().optionIndex(0, 0));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,x=1,y=2,y=2) b(z=3,x=1,y=2)"));

    // A section goes whole, with its options, after the focused option's section.
    view.selectSingleNode(f.tree().sectionIndex(1));
    f.trigger("actEditCopy");
    view.selectSingleNode(f.tree().optionIndex(0, 2));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,x=1,y=2,y=2) b(z=3,x=1,y=2) b(z=3,x=1,y=2)"));
    QCOMPARE(f.focusedName(), QStringLiteral("b"));
    QCOMPARE(view.focusedNode(), f.tree().sectionIndex(1));
    QVERIFY(f.window->isModified());
}

void tst_Clipboard::cutAndPasteMoveOptionsAndSections()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nx=1\ny=2\n[b]\nz=3\n[c]\n"));
    TreeList &view = f.view();
    view.selectSingleNode(f.tree().optionIndex(0, 1));
    f.trigger("actEditCut");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1) b(z=3) c()"));
    QCOMPARE(QGuiApplication::clipboard()->text(), Header + QStringLiteral("\r\n\r\ny\t2\r\n"));
    // The focus stays on a shown node: the one above the cut one.
    QCOMPARE(view.focusedNode(), f.tree().optionIndex(0, 0));
    view.selectSingleNode(f.tree().sectionIndex(2));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1) b(z=3) c(y=2)"));

    // The first section, cut, leaves the focus on the next one; pasted after the last, it moves there.
    view.selectSingleNode(f.tree().sectionIndex(0));
    f.trigger("actEditCut");
    QCOMPARE(f.outline(), QStringLiteral("b(z=3) c(y=2)"));
    QCOMPARE(view.focusedNode(), f.tree().sectionIndex(0));
    view.selectSingleNode(f.tree().sectionIndex(1));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("b(z=3) c(y=2) a(x=1)"));
    // Cut needs a selection; with nothing selected it is disabled and does nothing.
    view.clearNodeSelection();
    f.window->ActionList1Update();
    QVERIFY(!f.action("actEditCut")->isEnabled());
    QVERIFY(f.action("actEditPaste")->isEnabled());
}

void tst_Clipboard::eachCutAndPasteIsOneStep()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    TreeList &view = f.view();
    QUndoStack &history = *f.window->undoStack();
    view.selectRange(f.tree().sectionIndex(0), f.tree().sectionIndex(1), false);
    f.trigger("actEditCut");
    QCOMPARE(f.outline(), QString());
    QCOMPARE(history.count(), 1);
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Cut"));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QCOMPARE(history.count(), 2);
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Paste"));
    QVERIFY(f.window->isModified());

    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QString());
    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QCOMPARE(f.selectedNames(), QStringList({ "a", "b" }));
    QVERIFY(!f.window->isModified());
    f.trigger("actEditRedo");
    f.trigger("actEditRedo");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QCOMPARE(history.index(), 2);

    // A paste that finds nothing to put in is no step.
    putText(QStringLiteral("just words"));
    f.trigger("actEditPaste");
    QCOMPARE(history.count(), 2);
}

void tst_Clipboard::pasteTakesIniTextFromOtherPrograms()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    TreeList &view = f.view();
    // As an editor copies lines of a file with Windows line ends: options first, then a section.
    putText(QStringLiteral("loose = one\r\n; a comment\r\n[new]\r\nk=v\r\nk=w\r\n[new]\r\nl=2\r\n"));
    view.selectSingleNode(f.tree().optionIndex(0, 0));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,loose=one,y=2) new(k=v,l=2) b(z=3)"));
    // The options share a parent, so they are what is selected; the section is shown too.
    QCOMPARE(f.selectedNames(), QStringList({ "loose" }));
    QCOMPARE(f.focusedName(), QStringLiteral("loose"));
    f.trigger("actEditUndo");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
}

void tst_Clipboard::pasteIntoAnEmptyTree()
{
    MainWindowFixture f;
    putText(QStringLiteral("k=v\n"));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QString()); // no section to hold it
    QCOMPARE(f.window->undoStack()->count(), 0);
    putText(QStringLiteral("k=v\n[s]\nx=1\n"));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("s(x=1)"));
    QCOMPARE(f.focusedName(), QStringLiteral("s"));
    QVERIFY(f.action("actFileSave")->isEnabled());
}

void tst_Clipboard::rowsTextAloneFollowsTheFocusedRow()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    TreeList &view = f.view();
    const QString rows = Header + QStringLiteral("\r\n\r\np\t7\r\n");
    putText(rows);
    view.selectSingleNode(f.tree().optionIndex(1, 0));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3,p=7)"));
    putText(rows);
    view.selectSingleNode(f.tree().sectionIndex(0));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) p() b(z=3,p=7)"));
    QCOMPARE(f.tree().sectionText(1, DocumentTree::ValueColumn), QStringLiteral("7"));
}

void tst_Clipboard::pastedNodesShowUnderTheFilter()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[a]\nk1=x\nk2=hit\n[b]\nq=hit\nr=x\n"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    FindBar &bar = *f.window->findBar();
    f.trigger("actEditFind");
    bar.chkShowOnlyMatches->setChecked(true);
    bar.edtFindText->setText(QStringLiteral("hit"));
    QVERIFY(QTest::qWaitFor([&bar] { return !bar.countText().isEmpty(); }));
    TreeList &view = f.view();
    const DocumentTree &tree = f.tree();
    QVERIFY(view.isRowHidden(0, tree.sectionIndex(0)));

    // A section cut under the filter goes whole, with the options it hides, and comes back whole.
    view.selectSingleNode(tree.sectionIndex(1));
    f.trigger("actEditCut");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit)"));
    QVERIFY(view.focusedNode().isValid());
    QVERIFY(!view.isRowHidden(view.focusedNode().row(), view.focusedNode().parent()));
    view.selectSingleNode(tree.sectionIndex(0));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit) b(q=hit,r=x)"));
    QVERIFY(!view.isRowHidden(1, {}));
    QVERIFY(!view.isRowHidden(1, tree.sectionIndex(1)));

    // Pasted options that do not match are shown, and the focus is on one of them.
    putText(QStringLiteral("new=1\nother=2\n"));
    view.selectSingleNode(tree.optionIndex(0, 1));
    f.trigger("actEditPaste");
    QCOMPARE(f.outline(), QStringLiteral("a(k1=x,k2=hit,new=1,other=2) b(q=hit,r=x)"));
    QVERIFY(!view.isRowHidden(2, tree.sectionIndex(0)) && !view.isRowHidden(3, tree.sectionIndex(0)));
    QCOMPARE(f.focusedName(), QStringLiteral("new"));
}

void tst_Clipboard::keysRunTheCommandsOnlyOutsideTextFields()
{
    MainWindowFixture f;
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    TreeList &view = f.view();
    view.setFocus();
    QTRY_VERIFY(view.hasFocus());
    const struct {
        QKeySequence cut;
        QKeySequence paste;
    } pairs[] = {
        { QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::CTRL | Qt::Key_V) },
        { QKeySequence(Qt::SHIFT | Qt::Key_Delete), QKeySequence(Qt::SHIFT | Qt::Key_Insert) },
    };
    for (const auto &keys : pairs) {
        view.selectSingleNode(f.tree().optionIndex(0, 0));
        QTest::keySequence(&view, keys.cut);
        QCOMPARE(f.outline(), QStringLiteral("a(y=2) b(z=3)"));
        view.selectSingleNode(f.tree().sectionIndex(1));
        QTest::keySequence(&view, keys.paste);
        QCOMPARE(f.outline(), QStringLiteral("a(y=2) b(z=3,x=1)"));
        f.trigger("actEditUndo");
        f.trigger("actEditUndo");
    }
    // Ctrl+C and Ctrl+Ins copy the rows.
    for (const QKeySequence &key : { QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert) }) {
        putText(QString());
        view.selectSingleNode(f.tree().optionIndex(0, 1));
        QTest::keySequence(&view, key);
        QCOMPARE(QGuiApplication::clipboard()->text(), Header + QStringLiteral("\r\n\r\ny\t2\r\n"));
    }

    // In the find field the keys are the field's own.
    f.trigger("actEditFind");
    QLineEdit *field = f.window->findBar()->edtFindText;
    QTRY_VERIFY(field->hasFocus());
    putText(QStringLiteral("[s]\nk=v"));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(field->text(), QGuiApplication::clipboard()->text());
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_A));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(field->text(), QString());
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
}

void tst_Clipboard::menusEndWithTheCommands()
{
    MainWindowFixture f;
    const auto *edit = f.child<QMenu>("miEdit");
    const auto *popup = f.child<QMenu>("PopupMenu");
    for (const QMenu *menu : { edit, popup }) {
        QList<QAction *> items = menu->actions();
        QCOMPARE(items.takeLast()->text(), QStringLiteral("&Paste"));
        QCOMPARE(items.takeLast()->text(), QStringLiteral("&Copy"));
        QCOMPARE(items.takeLast()->text(), QStringLiteral("Cu&t"));
        QVERIFY(items.takeLast()->isSeparator());
    }
    // Each letter of the Edit menu opens one item.
    QSet<QChar> letters;
    for (const QAction *item : edit->actions()) {
        const qsizetype amp = item->text().indexOf(u'&');
        if (item->isSeparator() || amp < 0)
            continue;
        const QChar letter = item->text().at(amp + 1).toLower();
        // Add Section and Add Option, Delete Section and Delete Option share theirs by design.
        if (letter == u'd' || letter == u'a')
            continue;
        QVERIFY2(!letters.contains(letter), qPrintable(item->text()));
        letters.insert(letter);
    }
}

QTEST_MAIN(tst_Clipboard)
#include "tst_clipboard.moc"
