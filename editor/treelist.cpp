#include "editor/treelist.h"

#include "document/documenttree.h"
#include "editor/treelistdelegate.h"
#include "editor/treelistrules.h"
#include "editor/treepictures.h"

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

// Display order of a node: its section's row, then 0 for the section or 1 + the option's row.
std::pair<int, int> displayKey(const QModelIndex &node)
{
    if (DocumentTree::level(node) == 0)
        return { node.row(), 0 };
    return { node.parent().row(), node.row() + 1 };
}

} // namespace

TreeList::TreeList(QWidget *parent)
    : QTreeView(parent)
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

    // The selection stays visible while another control has the keyboard focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : { QPalette::Highlight, QPalette::HighlightedText })
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

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
    m_tree = tree;
    setModel(tree);
    // Connected after setModel, so these run once the selection model has seen the change.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TreeList::stateChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TreeList::stateChanged);
    connect(tree, &QAbstractItemModel::modelReset, this, &TreeList::afterReset);
    connect(tree, &QAbstractItemModel::rowsRemoved, this, &TreeList::afterRemoval);
    setColumnWidths({ InitialNameWidth, InitialValueWidth });
    afterReset();
}

TreeListHandlers *TreeList::handlers() const
{
    return m_handlers != nullptr ? m_handlers : m_standardHandlers.get();
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

// Focus

QModelIndex TreeList::node(const QModelIndex &index)
{
    return index.siblingAtColumn(0);
}

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
    selectionModel()->setCurrentIndex(nodeIndex.siblingAtColumn(column), QItemSelectionModel::NoUpdate);
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

// Selection. The selection model holds whole rows under one parent; changes are made as one
// selection so that views and the window hear of each change once.

bool TreeList::hasNodeSelection() const
{
    return selectionModel() != nullptr && selectionModel()->hasSelection();
}

QModelIndex TreeList::selectionParent() const
{
    const QItemSelection selection = selectionModel()->selection();
    return selection.isEmpty() ? QModelIndex() : selection.first().parent();
}

std::vector<int> TreeList::selectedRows() const
{
    std::vector<int> rows;
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return rows;
    const QModelIndex parent = selection.first().parent();
    for (const QItemSelectionRange &range : selection) {
        if (range.left() != 0 || range.parent() != parent)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TreeList::setSelectedRows(const QModelIndex &parent, const std::vector<int> &rows)
{
    QItemSelection selection;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.append(QItemSelectionRange(
            model()->index(rows[i], 0, parent), model()->index(rows[j], DocumentTree::ColumnCount - 1, parent)));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QModelIndexList TreeList::selectedNodes() const
{
    QModelIndexList nodes;
    if (!hasNodeSelection())
        return nodes;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (range.left() != 0)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            nodes.append(model()->index(row, 0, range.parent()));
    }
    std::sort(nodes.begin(), nodes.end(),
        [](const QModelIndex &a, const QModelIndex &b) { return displayKey(a) < displayKey(b); });
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    return nodes;
}

int TreeList::selectionCount() const
{
    if (!hasNodeSelection())
        return 0;
    int count = 0;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (range.left() == 0)
            count += range.height();
    }
    return count;
}

int TreeList::selectionLevel() const
{
    if (!hasNodeSelection())
        return -1;
    return DocumentTree::level(selectionModel()->selection().first().topLeft());
}

bool TreeList::isNodeSelected(const QModelIndex &nodeIndex) const
{
    return nodeIndex.isValid() && selectionModel()->isSelected(node(nodeIndex));
}

void TreeList::selectNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    const QModelIndex n = node(nodeIndex);
    if ((hasNodeSelection() && selectionParent() != n.parent()) || isNodeSelected(n))
        return;
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::Select);
}

void TreeList::deselectNode(const QModelIndex &nodeIndex)
{
    if (!isNodeSelected(nodeIndex))
        return;
    const QModelIndex n = node(nodeIndex);
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::Deselect);
}

void TreeList::clearNodeSelection()
{
    if (hasNodeSelection())
        selectionModel()->clearSelection();
}

void TreeList::selectOnly(const QModelIndex &nodeIndex)
{
    const QModelIndex n = node(nodeIndex);
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::ClearAndSelect);
}

void TreeList::selectRange(const QModelIndex &from, const QModelIndex &to, bool add)
{
    if (!from.isValid() || !to.isValid())
        return;
    QModelIndex first = node(from);
    QModelIndex last = node(to);
    if (displayKey(last) < displayKey(first))
        std::swap(first, last);
    const QModelIndex parent = hasNodeSelection() ? selectionParent() : first.parent();
    const auto [firstSection, firstOffset] = displayKey(first);
    const auto [lastSection, lastOffset] = displayKey(last);

    int low = 0;
    int high = -1;
    if (!parent.isValid()) {
        low = firstOffset == 0 ? firstSection : firstSection + 1;
        high = lastSection;
    } else if (isExpanded(parent) || first.parent() == parent || last.parent() == parent) {
        const int section = parent.row();
        const int options = model()->rowCount(parent);
        low = firstSection < section ? 0 : firstSection == section ? std::max(firstOffset - 1, 0) : options;
        high = lastSection > section ? options - 1 : lastSection == section ? lastOffset - 1 : -1;
    }

    std::vector<int> rows = add ? selectedRows() : std::vector<int>();
    for (int row = low; row <= high; ++row)
        rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        clearNodeSelection();
    else
        setSelectedRows(parent, rows);
}

// Navigation and hit tests

QModelIndex TreeList::nodeAbove(const QModelIndex &nodeIndex) const
{
    return node(indexAbove(node(nodeIndex)));
}

QModelIndex TreeList::nodeBelow(const QModelIndex &nodeIndex) const
{
    return node(indexBelow(node(nodeIndex)));
}

QModelIndex TreeList::nodeAtViewport(int y) const
{
    const int x = std::max(header()->sectionViewportPosition(DocumentTree::NameColumn), 0);
    return node(indexAt(QPoint(x, y)));
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
        setFocusedCell(model()->index(start, 0, parent), 0);
}

void TreeList::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    // The focused node goes (alone, or with its section): its previous sibling takes the focus,
    // else its parent, else the node displayed after it.
    const QModelIndex focused = focusedNode();
    const QModelIndex removed = focused.parent() == parent ? focused : focused.parent();
    if (focused.isValid() && removed.isValid() && removed.parent() == parent && removed.row() >= start
        && removed.row() <= end) {
        if (start > 0)
            m_focusAfterRemoval = model()->index(start - 1, 0, parent);
        else if (parent.isValid())
            m_focusAfterRemoval = parent;
        else
            m_focusAfterRemoval = model()->index(end + 1, 0, parent);
        m_focusRemoved = true;
        m_focusColumnAfterRemoval = focusedColumn();
    }
    if (m_press.node.isValid() && (m_press.node == removed || node(m_press.node).parent() == removed))
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
        setFocusedCell(target, m_focusColumnAfterRemoval);
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
        setFocusedCell(model()->index(0, 0), 0);
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
    const int total = viewport()->width();
    if (m_fitting || total < 2 * MinimumColumnWidth)
        return;
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
