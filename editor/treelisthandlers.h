#pragma once

#include <QModelIndex>

class QObject;
class TreeList;

// The main window's handlers that the tree calls back, named after the tree's events.
class TreeListHandlers {
public:
    virtual ~TreeListHandlers() = default;

    virtual void TreeListEditing(TreeList *sender, const QModelIndex &node, bool &allow) = 0;
    virtual void TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index) = 0;
    virtual void TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index) = 0;
    virtual void TreeListBeginDragNode(TreeList *sender, const QModelIndex &node) = 0;
    virtual void TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept) = 0;
    virtual void TreeListDragDrop(TreeList *sender, QObject *source, int x, int y) = 0;
};
