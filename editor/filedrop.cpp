// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/filedrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

std::optional<QString> droppedFile(const QMimeData *mime)
{
    if (mime == nullptr || !mime->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return std::nullopt;
    const QString fileName = urls.constFirst().toLocalFile();
    // A folder is not a document, as for the command-line file and the recent files.
    if (!QFileInfo(fileName).isFile())
        return std::nullopt;
    return fileName;
}

FileDropFilter::FileDropFilter(std::function<void(const QString &fileName)> open, QObject *parent)
    : QObject(parent)
    , m_open(std::move(open))
{
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    if (!drop->mimeData()->hasUrls())
        return QObject::eventFilter(watched, event);
    const std::optional<QString> fileName = droppedFile(drop->mimeData());
    if (!fileName) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, name = *fileName] { m_open(name); });
    return true;
}
