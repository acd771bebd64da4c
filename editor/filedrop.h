// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QMimeData;

// The one existing local file a drag from a file manager carries (a text/uri-list), or nothing:
// several files, a folder, a remote address or plain text open nothing.
[[nodiscard]] std::optional<QString> droppedFile(const QMimeData *mime);

// Watches the drag events of the widgets it is installed on. A drag of one local file is offered
// a copy and, when dropped, handed to the open function one event-loop turn later (a question
// asked inside a drop would hold the file manager's drag); any other list of addresses gets the
// no-drop cursor. Drags that carry no addresses, such as the tree's own, pass through untouched.
class FileDropFilter : public QObject {
    Q_OBJECT

public:
    FileDropFilter(std::function<void(const QString &fileName)> open, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(const QString &fileName)> m_open;
};
