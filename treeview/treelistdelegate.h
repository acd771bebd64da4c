// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class TreeList;

// Draws column 0 as the node image followed by the text cell, and runs the in-place editor: a
// plain line editor without a length limit. Up, Down, PgUp, PgDn and Tab store the text, close
// the editor and then move as they do in the tree; Enter stores, Esc restores.
class TreeListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TreeListDelegate(TreeList *tree);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(
        QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

    // The open editor, if any.
    [[nodiscard]] QWidget *openEditor() const { return m_editor; }
    // Stores the open editor's text and closes it.
    void finishEditing();

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    TreeList *m_tree;
    mutable QPointer<QWidget> m_editor;
};
