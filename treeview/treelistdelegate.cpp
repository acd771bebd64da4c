// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treelistdelegate.h"

#include "dialogs/palettecolours.h"
#include "document/documenttree.h"
#include "document/textrules.h"
#include "treeview/namemarkview.h"
#include "treeview/treehittest.h"
#include "treeview/treelist.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <limits>

namespace {

QStyleOptionViewItem textCell(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    QStyleOptionViewItem cell = option;
    if (index.column() == DocumentTree::NameColumn)
        cell.rect.setLeft(cell.rect.left() + TreeGeometry::ImageBoxWidth + TreeGeometry::StateImageWidth);
    return cell;
}

} // namespace

TreeListDelegate::TreeListDelegate(TreeList *tree)
    : QStyledItemDelegate(tree)
    , m_tree(tree)
{
}

void TreeListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The view's cell; the tree's rules look at the document's.
    const QModelIndex cellIndex = m_tree->toDocument(index);
    if (index.column() == DocumentTree::NameColumn) {
        using namespace TreeGeometry;
        const QRect image(option.rect.left() + ImageMargin, option.rect.top() + (option.rect.height() - ImageSize) / 2,
            ImageSize, ImageSize);
        const bool selected = option.state & QStyle::State_Selected;
        m_tree->image(m_tree->nodeImageIndex(cellIndex, selected)).paint(painter, image);
    }
    QStyleOptionViewItem cell = textCell(option, index);
    const QPalette::ColorGroup group = cell.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    if (m_tree->isCellHighlighted(cellIndex)) {
        const PaletteColours::CellColours match = PaletteColours::findMatch(cell.palette, group);
        painter->fillRect(cell.rect, match.background);
        cell.backgroundBrush = match.background; // what a marked name is drawn on
        cell.palette.setColor(QPalette::Text, match.text);
    }
    colourMarkedName(cell, m_tree->nameMarks(), cellIndex);
    // The style's own focus frame is faint; the tree draws one that stands out against the cell,
    // selected or not, so that the focused column shows inside a selected row too.
    const bool focused = cell.state & QStyle::State_HasFocus;
    cell.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, cell, index);
    if (focused) {
        const QColor frame = PaletteColours::focusFrame(cell.palette, cell.state & QStyle::State_Selected, group);
        painter->save();
        painter->setPen(QPen(frame, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.rect.adjusted(0, 0, -1, -1));
        painter->drawRect(cell.rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }
}

bool TreeListDelegate::helpEvent(
    QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    return showNameMarkTip(event, view, m_tree->nameMarks(), m_tree->toDocument(index))
        || QStyledItemDelegate::helpEvent(event, view, option, index);
}

QSize TreeListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == DocumentTree::NameColumn)
        size.rwidth() += TreeGeometry::ImageBoxWidth + TreeGeometry::StateImageWidth;
    size.setHeight(std::max(size.height(), TreeGeometry::ImageSize + 2));
    return size;
}

QWidget *TreeListDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setAccessibleName(m_tree->cellEditorName(index));
    editor->setAccessibleDescription(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    editor->setFrame(false);
    editor->setMaxLength(std::numeric_limits<int>::max());
    m_editor = editor;
    return editor;
}

void TreeListDelegate::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, textCell(option, index), index);
}

void TreeListDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line == nullptr)
        return;
    model->setData(index, typedTextAsStored(line->text()), Qt::EditRole);
}

void TreeListDelegate::finishEditing()
{
    QWidget *editor = m_editor;
    if (editor == nullptr)
        return;
    Q_EMIT commitData(editor);
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TreeListDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const int code = key->key();
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            m_tree->moveAfterEdit(code, modifiers);
            return true;
        }
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
