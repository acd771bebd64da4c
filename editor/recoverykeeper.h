// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>

class DocumentTree;
class RecoveryCopy;

// Keeps the recovery copy of the open document (recoverycopy.h) while it has unsaved changes. A
// change is in the copy about a second later: the window copies the tree, which shares its texts
// and costs a few bytes per option, and a worker thread writes it through the save layer, so the
// window never waits on the disk. Everything done to the copy (making, writing, removing) runs on
// that one worker in the order asked, so a removal never races a write.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    explicit RecoveryKeeper(const DocumentTree &tree, QObject *parent = nullptr);
    // Waits for the work under way; the copy stays (an ending the user did not choose keeps it).
    ~RecoveryKeeper() override;

    // The document as the window now has it: with unsaved changes the copy follows it, without
    // them the copy is removed.
    void follow(const QString &fileName, bool modified);
    // The tree changed.
    void noteChange();
    // A copy that was recovered into the window: it holds the document as it now is, and the
    // following changes are written to it.
    void adopt(std::unique_ptr<RecoveryCopy> copy, const QString &fileName);
    // Brings the copy up to date and returns once it is on disk.
    void writeNow();
    // Removes the copy and returns once it is gone.
    void discard();

    // Whether the copy keeps the layout of the document's file, as a save with that choice does.
    void setKeepLayout(bool keep) { m_keepLayout = keep; }

    // The copy's file while there is one (for tests); empty otherwise.
    [[nodiscard]] QString copyPath() const;

Q_SIGNALS:
    // A copy could not be written: the changes are not kept anywhere but in the window.
    void failed(const QString &message);

private:
    struct Place;
    void startWrite();
    void queueWrite();
    void run(const std::function<void()> &job);
    void writeDone(const QString &error);

    const DocumentTree &m_tree;
    QString m_fileName;
    bool m_modified = false;
    bool m_keepLayout = false;
    bool m_dirty = false; // changes the copy does not have yet, nor a write under way
    int m_writing = 0;
    std::shared_ptr<Place> m_place;
    QTimer m_timer;
    QThreadPool m_worker;
};
