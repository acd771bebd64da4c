// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/recoverykeeper.h"

#include "disk/recoverycopy.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>

namespace {

// How long a change waits before the copy is written. Changes that come meanwhile go into the same
// write, and a write never starts while another is under way, so even a copy that takes a while to
// write is at most about two seconds behind the last change.
constexpr int WriteDelayMs = 700;

// The copy's own name means nothing to the user: the message speaks of the copy, and keeps the
// reason that follows its first line.
QString copyFailure(const QString &message)
{
    const QString reason = message.section(u'\n', 1);
    const QString first
        = QCoreApplication::translate("RecoveryKeeper", "Unable to write to the copy of your unsaved changes");
    return reason.isEmpty() ? first : first + u'\n' + reason;
}

} // namespace

// The copy of one run of unsaved changes. Only the worker makes, writes and removes it; the
// window hands it over whole (adopt) or asks for its name.
struct RecoveryKeeper::Place {
    std::unique_ptr<RecoveryCopy> copy;
    mutable QMutex mutex; // guards path, which the window reads
    QString path;

    void take(std::unique_ptr<RecoveryCopy> made)
    {
        const QMutexLocker lock(&mutex);
        copy = std::move(made);
        path = copy ? copy->copyPath() : QString();
    }
};

RecoveryKeeper::RecoveryKeeper(const DocumentTree &tree, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
{
    m_worker.setMaxThreadCount(1); // one at a time, in the order asked
    m_timer.setSingleShot(true);
    m_timer.setInterval(WriteDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::startWrite);
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_timer.stop();
    m_worker.waitForDone();
}

void RecoveryKeeper::follow(const QString &fileName, bool modified)
{
    if (modified) {
        m_fileName = fileName;
        if (!m_place)
            m_place = std::make_shared<Place>();
        m_modified = true;
        noteChange();
        return;
    }
    m_modified = false;
    m_dirty = false;
    m_timer.stop();
    if (const std::shared_ptr<Place> place = std::move(m_place)) {
        run([place] {
            if (place->copy)
                place->copy->remove();
            place->take(nullptr);
        });
    }
}

void RecoveryKeeper::noteChange()
{
    if (!m_modified)
        return;
    m_dirty = true;
    if (m_writing == 0 && !m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::adopt(std::unique_ptr<RecoveryCopy> copy, const QString &fileName)
{
    follow(fileName, false);
    m_place = std::make_shared<Place>();
    m_place->take(std::move(copy));
    m_fileName = fileName;
    m_modified = true;
}

void RecoveryKeeper::startWrite()
{
    if (m_modified && m_dirty && m_writing == 0)
        queueWrite();
}

void RecoveryKeeper::queueWrite()
{
    m_dirty = false;
    ++m_writing;
    // The texts stay shared with the tree; the worker's tree is its own, so edits meanwhile do not
    // reach it.
    auto contents = std::make_shared<DocumentContents>(m_tree.copyContents());
    const TextFormat format = m_tree.sourceFormat();
    // The file's text is read only: the worker shares it.
    std::shared_ptr<const IniText> layout = m_keepLayout ? layoutTextOf(m_tree) : nullptr;
    run([this, place = m_place, contents, format, layout, keep = m_keepLayout, fileName = m_fileName] {
        QString error;
        catchErrors(
            [&] {
                if (!place->copy)
                    place->take(RecoveryCopy::create(fileName));
                else
                    place->copy->setFileName(fileName);
                DocumentTree tree;
                tree.append(std::move(*contents));
                tree.setSourceFormat(format);
                if (keep) {
                    tree.setLayoutText(layout);
                    saveTreeKeepingLayout(tree, place->copy->copyPath());
                } else {
                    SaveTreeToIni(tree, place->copy->copyPath());
                }
                place->copy->keepPrivate();
            },
            [&error](const QString &message) { error = copyFailure(message); });
        QMetaObject::invokeMethod(
            this, [this, error] { writeDone(error); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::writeDone(const QString &error)
{
    --m_writing;
    if (!error.isEmpty()) {
        m_dirty = m_modified; // tried again after the next pause
        Q_EMIT failed(error);
    }
    if (m_modified && m_dirty && m_writing == 0)
        m_timer.start();
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    // A write under way has an older tree: this one follows it.
    if (m_modified && m_dirty)
        queueWrite();
    m_worker.waitForDone();
}

void RecoveryKeeper::discard()
{
    follow(m_fileName, false);
    m_worker.waitForDone();
}

QString RecoveryKeeper::copyPath() const
{
    if (!m_place)
        return {};
    const QMutexLocker lock(&m_place->mutex);
    return m_place->path;
}

void RecoveryKeeper::run(const std::function<void()> &job)
{
    m_worker.start(job);
}
