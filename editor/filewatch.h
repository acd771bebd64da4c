// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// What a file on disk looked like when the editor last read or wrote it.
struct FileStamp {
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    size_t hash = 0;

    // Reads the file's size, modification time and content hash.
    [[nodiscard]] static FileStamp of(const QString &fileName);
};

// Watches the document's file for changes made by other programs. The editor's own saves are not
// reported: it takes a new stamp after each one, and a notification for content that matches the
// stamp is dropped. Time alone never decides: a file whose size and time agree with the stamp is
// compared by content once a notification came for it.
class FileWatch : public QObject {
    Q_OBJECT

public:
    explicit FileWatch(QObject *parent = nullptr);

    // Starts watching the named file as it is now (after a load or a save); empty stops watching.
    void watch(const QString &fileName);
    // The user chose to keep the document as it is: the file as it is now counts as known.
    void acceptDiskState() { watch(m_fileName); }
    // The file exists and is no longer what the editor last read or wrote.
    [[nodiscard]] bool changedOnDisk() const;

Q_SIGNALS:
    // Another program changed the file (deleted: removed or renamed away).
    void changed(bool deleted);

private:
    void onFileChanged();

    QFileSystemWatcher m_watcher;
    QString m_fileName;
    FileStamp m_stamp;
    bool m_notified = false;
};
