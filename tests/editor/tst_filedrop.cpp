// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Files dropped from a file manager: one local file opens as Open does, anything else is refused,
// and the tree's own drags are not taken for file drops.
#include "mainwindowfixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using Answer = UserDialogs::Answer;

namespace {

// Sends a drag's enter, move and (when it was accepted) drop to the target, as the window system
// does; says whether the drop was offered, which is what decides the cursor.
bool dragOnto(QWidget *target, const QMimeData &mime)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

std::unique_ptr<QMimeData> urls(const QList<QUrl> &list)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls(list);
    return mime;
}

} // namespace

class tst_FileDrop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oneLocalFileOpensAsOpenDoes_data();
    void oneLocalFileOpensAsOpenDoes();
    void unsavedChangesAreSettledFirst();
    void anythingElseIsRefused();
};

void tst_FileDrop::oneLocalFileOpensAsOpenDoes_data()
{
    QTest::addColumn<bool>("ontoTree");
    QTest::newRow("onto the tree") << true;
    QTest::newRow("onto the window") << false;
}

void tst_FileDrop::oneLocalFileOpensAsOpenDoes()
{
    QFETCH(bool, ontoTree);
    MainWindowFixture f;
    f.window->show();
    const QString file = f.writeFile(QStringLiteral("dropped.ini"), SampleIni);
    QSignalSpy recent(f.window.get(), &TfrmSaldrixMain::recentFileOpened);
    QWidget *target = ontoTree ? f.view().viewport() : static_cast<QWidget *>(f.window.get());
    QVERIFY(dragOnto(target, *urls({ QUrl::fromLocalFile(file) })));
    // The file is read one turn later, outside the drop.
    QCOMPARE(f.outline(), QString());
    QTRY_COMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QCOMPARE(f.window->fileName(), file);
    QVERIFY(!f.window->isModified());
    QCOMPARE(recent.count(), 1);
    QVERIFY(f.dialogs.settled());
}

void tst_FileDrop::unsavedChangesAreSettledFirst()
{
    MainWindowFixture f;
    f.window->show();
    f.open(f.writeFile(QStringLiteral("first.ini"), SampleIni));
    f.trigger("actEditSectionAdd");
    const QString second = f.writeFile(QStringLiteral("second.ini"), "[c]\nw=4\n");
    f.dialogs.asked.clear();

    f.dialogs.saveAnswers = { Answer::Cancel };
    QVERIFY(dragOnto(f.view().viewport(), *urls({ QUrl::fromLocalFile(second) })));
    QTRY_COMPARE(f.dialogs.asked, QStringList { QStringLiteral("save changes") });
    QCOMPARE(f.window->fileName(), f.path(QStringLiteral("first.ini")));
    QVERIFY(f.window->isModified());

    f.dialogs.asked.clear();
    f.dialogs.saveAnswers = { Answer::No };
    QVERIFY(dragOnto(f.view().viewport(), *urls({ QUrl::fromLocalFile(second) })));
    QTRY_COMPARE(f.window->fileName(), second);
    QCOMPARE(f.outline(), QStringLiteral("c(w=4)"));
    QCOMPARE(f.readFile(QStringLiteral("first.ini")), SampleIni);
    QVERIFY(f.dialogs.settled());
}

void tst_FileDrop::anythingElseIsRefused()
{
    MainWindowFixture f;
    f.window->show();
    const QString one = f.writeFile(QStringLiteral("one.ini"), SampleIni);
    const QString two = f.writeFile(QStringLiteral("two.ini"), SampleIni);
    QMimeData text;
    text.setText(one);

    for (QWidget *target : { static_cast<QWidget *>(f.view().viewport()), static_cast<QWidget *>(f.window.get()) }) {
        QVERIFY(!dragOnto(target, *urls({ QUrl::fromLocalFile(one), QUrl::fromLocalFile(two) })));
        QVERIFY(!dragOnto(target, *urls({ QUrl(QStringLiteral("https://example.org/one.ini")) })));
        QVERIFY(!dragOnto(target, *urls({ QUrl::fromLocalFile(f.dir.path()) })));
        QVERIFY(!dragOnto(target, *urls({ QUrl::fromLocalFile(f.path(QStringLiteral("missing.ini"))) })));
        QVERIFY(!dragOnto(target, text));
    }
    QTest::qWait(0);
    QCoreApplication::processEvents();
    QVERIFY(f.window->fileName().isEmpty());
    QCOMPARE(f.outline(), QString());
    QVERIFY(f.dialogs.settled());
}

QTEST_MAIN(tst_FileDrop)
#include "tst_filedrop.moc"
