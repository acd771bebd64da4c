// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treelist.h"

#include "document/documenttree.h"
#include "document/namemarks.h"
#include "treeview/treefiltermodel.h"
#include "treeview/treelistdelegate.h"
#include "treeview/treelistrules.h"
#include "treeview/treepictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace {

constexpr int InitialNameWidth = 164;
constexpr int InitialValueWidth = 217;
constexpr int MinimumColumnWidth = 16;

} // namespace

TreeList::TreeList(QWidget *parent)
    : QTreeView(parent)
    , m_filter(new TreeFilterModel(this))
    , m_standardHandlers(std::make_unique<StandardTreeListHandlers>())
    , m_delegate(new TreeListDelegate(this))
    , m_images(treeDefaultImages())
{
    setObjectName(QStringLiteral("TreeList"));
    setItemDelegate(m_delegate);

    // Focus and selection follow the rules in the event handlers below; Qt's own selection,
    // editing triggers, search by typing, sorting and drag handling stay out of the way.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setSortingEnabled(false);
    setExpandsOnDoubleClick(false);
    setAllColumnsShowFocus(false);
    setAnimated(false);
    setDragEnabled(false);
    setDropIndicatorShown(false);
    setAutoScroll(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setIndentation(TreeGeometry::Indentation);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);

    QHeaderView *columns = header();
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(false);
    columns->setSortIndicatorShown(false);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(MinimumColumnWidth);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    connect(columns, &QHeaderView::sectionResized, this, &TreeList::columnResized);
    // A drag over the headers is answered as over the rest of the control: the pointer shows
    // whether a drop is taken there, even though dropping there moves nothing.
    columns->viewport()->setAcceptDrops(true);
    columns->viewport()->installEventFilter(this);

    // While another control has the keyboard, the selection stays visible in the palette's
    // inactive colours and the focus frame goes.
    describeToAssistiveTechnology();

    connect(
        this, &QTreeView::collapsed, this, [this](const QModelIndex &section) { afterCollapse(toDocument(section)); });

    m_editTimer.setSingleShot(true);
    connect(&m_editTimer, &QTimer::timeout, this, &TreeList::pendingEditTimeout);
    m_dragScrollTimer.setInterval(100);
    connect(&m_dragScrollTimer, &QTimer::timeout, this, &TreeList::dragScrollTick);
    m_dragExpandTimer.setSingleShot(true);
    m_dragExpandTimer.setInterval(500);
    connect(&m_dragExpandTimer, &QTimer::timeout, this, [this] {
        if (m_dragExpandNode.isValid())
            expand(m_dragExpandNode);
    });
}

TreeList::~TreeList()
{
    // An editor still open loses its focus while the view is torn down; nothing is left to store into.
    disconnect(m_delegate, nullptr, this, nullptr);
}

void TreeList::setDocument(DocumentTree *tree)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    m_tree = tree;
    setModel(nullptr);
    m_filter->setSourceModel(tree);
    if (tree != nullptr) {
        setModel(m_filter);
        // Connected after setModel, so these run once the view and its selection model have seen
        // the change.
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TreeList::stateChanged);
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TreeList::stateChanged);
        m_modelConnections = {
            connect(m_filter, &QAbstractItemModel::modelReset, this, &TreeList::afterReset),
            connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &TreeList::afterRemoval),
        };
    }
    delete m_nameMarks;
    m_markPassAsked = false;
    m_nameMarks = tree != nullptr ? new NameMarks(tree, this) : nullptr;
    if (m_nameMarks != nullptr) {
        // A large change (a load of a million options) is marked a slice per pass of the event loop,
        // so that the window keeps answering meanwhile.
        m_nameMarks->setSliceOptions(NameMarkSliceOptions);
        connect(m_nameMarks, &NameMarks::marksChanged, this, [this] {
            viewport()->update();
            if (m_nameMarks->isPending() && !m_markPassAsked) {
                m_markPassAsked = true;
                // The tree may change before then: markMore() looks at it again first.
                QTimer::singleShot(0, m_nameMarks, [this] {
                    m_markPassAsked = false;
                    m_nameMarks->markMore();
                });
            }
        });
    }
    describeCells(tree);
    setColumnWidths({ InitialNameWidth, InitialValueWidth });
    afterReset();
}

void TreeList::afterCollapse(const QModelIndex &sectionIndex)
{
    // Nothing stays focused, selected or about to be edited out of sight: the options just hidden
    // leave the selection, and the focus and the range anchor move up to their section.
    const QModelIndex section = node(sectionIndex);
    const QModelIndex focused = focusedNode();
    const bool hidesFocus = focused.isValid() && focused.parent() == section;
    if (hidesFocus) {
        cancelPendingEdit();
        if (isEditing())
            commitEditor(); // as a press elsewhere would
    }
    if (toDocument(selectionParent()) == section)
        clearNodeSelection();
    if (m_anchor.isValid() && m_anchor.parent() == section)
        m_anchor = section;
    if (hidesFocus)
        setFocusedCell(section, focusedColumn());
}

TreeListHandlers *TreeList::handlers() const
{
    return m_handlers != nullptr ? m_handlers : m_standardHandlers.get();
}

void TreeList::setCellHighlight(std::function<bool(const QModelIndex &)> highlight)
{
    m_highlight = std::move(highlight);
    viewport()->update();
}

void TreeList::setImageList(const QList<QIcon> &images)
{
    m_images = images;
    viewport()->update();
}

QIcon TreeList::image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QIcon();
}

int TreeList::nodeImageIndex(const QModelIndex &nodeIndex, bool selected) const
{
    const QModelIndex n = node(nodeIndex);
    int index = m_tree != nullptr ? m_tree->imageIndex(n) : -1;
    auto *self = const_cast<TreeList *>(this);
    if (selected)
        handlers()->TreeListGetSelectedIndex(self, n, index);
    else
        handlers()->TreeListGetImageIndex(self, n, index);
    return index;
}

// Indexes of the view and of the document

QModelIndex TreeList::node(const QModelIndex &index)
{
    return index.siblingAtColumn(0);
}

QModelIndex TreeList::toView(const QModelIndex &index) const
{
    return index.model() == m_tree && m_tree != nullptr ? m_filter->mapFromSource(index) : index;
}

QModelIndex TreeList::toDocument(const QModelIndex &index) const
{
    return index.model() == m_filter ? m_filter->mapToSource(index) : index;
}

QModelIndex TreeList::shownInView(const QModelIndex &index)
{
    if (index.model() == m_tree)
        m_filter->reveal(index);
    return toView(index);
}

QModelIndex TreeList::currentIndex() const
{
    return selectionModel() != nullptr ? toDocument(selectionModel()->currentIndex()) : QModelIndex();
}

bool TreeList::isExpanded(const QModelIndex &section) const
{
    return QTreeView::isExpanded(toView(section));
}

void TreeList::expand(const QModelIndex &section)
{
    QTreeView::expand(shownInView(section));
}

void TreeList::collapse(const QModelIndex &section)
{
    QTreeView::collapse(toView(section));
}

void TreeList::setExpanded(const QModelIndex &section, bool expanded)
{
    if (expanded)
        expand(section);
    else
        collapse(section);
}

bool TreeList::showsOptions(const QModelIndex &section) const
{
    const QModelIndex shown = toView(section);
    return shown.isValid() && model()->hasChildren(shown);
}

bool TreeList::isRowHidden(int row, const QModelIndex &parent) const
{
    if (parent.model() == m_filter)
        return QTreeView::isRowHidden(row, parent);
    return m_tree != nullptr && !toView(m_tree->index(row, 0, parent)).isValid();
}

QRect TreeList::visualRect(const QModelIndex &index) const
{
    return QTreeView::visualRect(toView(index));
}

void TreeList::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    QTreeView::scrollTo(toView(index), hint);
}

// Focus

QModelIndex TreeList::focusedNode() const
{
    return node(currentIndex());
}

int TreeList::focusedLevel() const
{
    return DocumentTree::level(focusedNode());
}

int TreeList::focusedColumn() const
{
    return std::max(currentIndex().column(), 0);
}

void TreeList::setFocusedCell(const QModelIndex &nodeIndex, int column)
{
    selectionModel()->setCurrentIndex(shownInView(nodeIndex.siblingAtColumn(column)), QItemSelectionModel::NoUpdate);
}

void TreeList::setFocusedColumn(int column)
{
    const QModelIndex focused = focusedNode();
    if (focused.isValid() && column >= 0 && column < DocumentTree::ColumnCount)
        setFocusedCell(focused, column);
}

void TreeList::setFocusedNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    const QModelIndex n = node(nodeIndex);
    m_filter->reveal(toDocument(n));
    if (n.parent().isValid() && !isExpanded(n.parent()))
        expand(n.parent());
    setFocusedCell(n, focusedColumn());
    scrollTo(n);
}

void TreeList::selectSingleNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    if (node(nodeIndex) != focusedNode())
        setFocusedNode(nodeIndex);
    selectOnly(nodeIndex);
}

void TreeList::moveFocus(const QModelIndex &target, Qt::KeyboardModifiers modifiers)
{
    if (!target.isValid())
        return;
    const QModelIndex before = focusedNode();
    setFocusedCell(node(target), focusedColumn());
    scrollTo(node(target));
    if (modifiers & Qt::ShiftModifier) {
        selectRange(m_anchor.isValid() ? QModelIndex(m_anchor) : before, target, modifiers & Qt::ControlModifier);
    } else if (!(modifiers & Qt::ControlModifier)) {
        selectOnly(target);
        m_anchor = node(target);
    }
}

// Navigation and hit tests

QModelIndex TreeList::nodeAbove(const QModelIndex &nodeIndex) const
{
    return node(toDocument(indexAbove(toView(node(nodeIndex)))));
}

QModelIndex TreeList::nodeBelow(const QModelIndex &nodeIndex) const
{
    return node(toDocument(indexBelow(toView(node(nodeIndex)))));
}

QModelIndex TreeList::nodeAtViewport(int y) const
{
    const int x = std::max(header()->sectionViewportPosition(DocumentTree::NameColumn), 0);
    return node(toDocument(indexAt(QPoint(x, y))));
}

QModelIndex TreeList::nodeAt(QPoint clientPos) const
{
    const QRect area = viewport()->geometry();
    if (!area.contains(clientPos))
        return {};
    return nodeAtViewport(clientPos.y() - area.top());
}

TreeHit TreeList::hitTestViewport(QPoint vp) const
{
    return treeHitTest(*this, viewport()->mapTo(this, vp));
}

// Reactions to the document

void TreeList::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeView::rowsInserted(parent, start, end);
    // A node added to an empty tree becomes the focused node.
    if (!currentIndex().isValid())
        setFocusedCell(toDocument(model()->index(start, 0, parent)), 0);
}

void TreeList::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    // The rows are the view's: whether they take a node with them, alone or with its section.
    const auto goes = [&parent, start, end](const QModelIndex &n) {
        const QModelIndex removed = n.parent() == parent ? n : n.parent();
        return n.isValid() && removed.isValid() && removed.parent() == parent && removed.row() >= start
            && removed.row() <= end;
    };
    // The focused node goes (alone, or with its section): its previous sibling takes the focus,
    // else its parent, else the node displayed after it.
    if (goes(node(selectionModel()->currentIndex()))) {
        if (start > 0)
            m_focusAfterRemoval = model()->index(start - 1, 0, parent);
        else if (parent.isValid())
            m_focusAfterRemoval = parent;
        else
            m_focusAfterRemoval = model()->index(end + 1, 0, parent);
        m_focusRemoved = true;
        m_focusColumnAfterRemoval = focusedColumn();
    }
    if (goes(toView(node(m_press.node))))
        m_pressActive = false;
    cancelPendingEdit();
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void TreeList::afterRemoval()
{
    if (!std::exchange(m_focusRemoved, false))
        return;
    const QPersistentModelIndex target = std::exchange(m_focusAfterRemoval, QPersistentModelIndex());
    if (target.isValid())
        setFocusedCell(toDocument(target), m_focusColumnAfterRemoval);
    else
        selectionModel()->clearCurrentIndex();
}

void TreeList::afterReset()
{
    // A newly loaded document: the first section focused, nothing selected, all collapsed.
    m_anchor = QPersistentModelIndex();
    m_pressActive = false;
    m_press = {};
    cancelPendingEdit();
    if (model() != nullptr && model()->rowCount() > 0)
        setFocusedCell(toDocument(model()->index(0, 0)), 0);
    Q_EMIT stateChanged();
}

// Update bracket

void TreeList::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void TreeList::endUpdate()
{
    Q_ASSERT(m_updateDepth > 0);
    if (--m_updateDepth == 0) {
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

// Clipboard

QString TreeList::selectionText() const
{
    const QString endOfLine = QStringLiteral("\r\n");
    const QChar tab = u'\t';
    QString text;
    if (model() == nullptr)
        return text;
    text += model()->headerData(DocumentTree::NameColumn, Qt::Horizontal).toString() + tab
        + model()->headerData(DocumentTree::ValueColumn, Qt::Horizontal).toString() + endOfLine + endOfLine;
    for (const QModelIndex &n : selectedNodes())
        text += n.data().toString() + tab + n.siblingAtColumn(DocumentTree::ValueColumn).data().toString() + endOfLine;
    return text;
}

void TreeList::copySelection() const
{
    if (m_clipboardWriter)
        m_clipboardWriter(selectedNodes());
    else
        QGuiApplication::clipboard()->setText(selectionText());
}

// Columns: they always fill the width, in the proportion the user last gave them.

QList<int> TreeList::columnWidths() const
{
    QList<int> widths;
    for (int column = 0; column < header()->count(); ++column)
        widths.append(header()->sectionSize(column));
    return widths;
}

void TreeList::setColumnWidths(const QList<int> &widths)
{
    if (widths.size() < DocumentTree::ColumnCount || header()->count() < DocumentTree::ColumnCount)
        return;
    const int first = std::max(widths.at(0), MinimumColumnWidth);
    const int second = std::max(widths.at(1), MinimumColumnWidth);
    m_firstColumnShare = double(first) / double(first + second);
    {
        const QScopedValueRollback fitting(m_fitting, true);
        header()->resizeSection(0, first);
        header()->resizeSection(1, second);
    }
    if (isVisible())
        fitColumns();
}

void TreeList::fitColumns()
{
    const int total = viewport()->width();
    if (header()->count() < DocumentTree::ColumnCount || total < 2 * MinimumColumnWidth || m_firstColumnShare <= 0)
        return;
    const QScopedValueRollback fitting(m_fitting, true);
    const int first = std::clamp(int(total * m_firstColumnShare + 0.5), MinimumColumnWidth, total - MinimumColumnWidth);
    header()->resizeSection(0, first);
    header()->resizeSection(1, total - first);
}

void TreeList::columnResized(int column, int, int newSize)
{
    if (m_fitting)
        return;
    const int total = viewport()->width();
    if (!isVisible() || total < 2 * MinimumColumnWidth) {
        // Widths set before the tree is shown (a stored layout) give the proportion to keep.
        const int first = header()->sectionSize(0);
        const int second = header()->sectionSize(1);
        if (first > 0 && second > 0)
            m_firstColumnShare = double(first) / double(first + second);
        return;
    }
    const int first = column == 0 ? newSize : total - newSize;
    m_firstColumnShare = double(std::clamp(first, MinimumColumnWidth, total - MinimumColumnWidth)) / double(total);
    fitColumns();
}

bool TreeList::viewportEvent(QEvent *event)
{
    const bool result = QTreeView::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        fitColumns();
    return result;
}
