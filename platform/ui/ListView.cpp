// TListView on a native tree widget: rows (grouped under header rows), columns, custom draw.
#include "platform/ui/ListView.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QRegion>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <set>
#include <unordered_map>

namespace ui {

namespace {

constexpr int RowRole = Qt::UserRole;       // TListItem* of a row (column 0)
constexpr int GroupRole = Qt::UserRole + 1; // group identifier of a header row

TListItem *RowItem(const QModelIndex &index) {
    return reinterpret_cast<TListItem *>(
        index.sibling(index.row(), 0).data(RowRole).value<quintptr>());
}

class ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(TListView &list, QObject *parent) : QStyledItemDelegate(parent), FList(list) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        if (index.sibling(index.row(), 0).data(GroupRole).isValid()) {
            PaintGroupHeader(p, option, index);
            return;
        }
        TListItem *item = RowItem(index);
        if (!item) {
            QStyledItemDelegate::paint(p, option, index);
            return;
        }
        gfx::TFont font = FList.GetFont();
        gfx::TColor brush = FList.GetColor();
        const bool ownDraw = !CustomDraw(p, option, item, index.column(), font, brush);
        if (!ownDraw) {
            QStyleOptionViewItem opt(option);
            opt.font = gfx::qt::ToQFont(font);
            opt.fontMetrics = QFontMetrics(opt.font);
            opt.palette.setColor(QPalette::Text, gfx::qt::ToQColor(font.GetColor()));
            // Only selection marks a row; hover and focus tints would hide the cell colours.
            opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
            p->fillRect(option.rect, gfx::qt::ToQColor(brush));
            QStyledItemDelegate::paint(p, opt, index);
        }
        if (FList.GetGridLines()) {
            PaintGridLines(p, option.rect);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        // Rows follow the list's font as a report list's rows do: the text's height plus a
        // margin, so descenders and underscores are never cut off.
        constexpr int RowTextMargin = 4;
        // Measured as the canvas measures, since custom drawing draws through it.
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        gfx::TBitmap probe(1, 1);
        probe.GetCanvas().SetFont(FList.GetFont());
        const int textHeight = probe.GetCanvas().GetTextMetrics().tmHeight;
        size.setHeight(std::max(size.height(), textHeight + RowTextMargin));
        return size;
    }

private:
    // Runs the custom-draw events on a canvas over the cell; false when a handler turned
    // default drawing off. font and brush receive what the handlers left on the canvas.
    bool CustomDraw(QPainter *p, const QStyleOptionViewItem &option, TListItem *item, int column,
                    gfx::TFont &font, gfx::TColor &brush) const {
        if (!FList.OnCustomDrawItem && !FList.OnCustomDrawSubItem) {
            return true;
        }
        TCustomDrawState state;
        if (option.state & QStyle::State_Selected) {
            state.Include(cdsSelected);
        }
        if (option.state & QStyle::State_HasFocus) {
            state.Include(cdsFocused);
        }
        const QRect r = option.rect;
        auto canvas = gfx::qt::WindowCanvas(p, QRegion(r));
        canvas->SetFont(font);
        canvas->GetBrush().SetColor(brush);
        qt::SetPaintCanvas(FList, canvas.get());
        bool defaultDraw = true;
        qt::CallSafely([&] {
            if (FList.OnCustomDrawItem) {
                FList.OnCustomDrawItem(&FList, item, state, defaultDraw);
            }
            if (defaultDraw && FList.OnCustomDrawSubItem) {
                FList.OnCustomDrawSubItem(&FList, item, column, state, defaultDraw);
            }
        });
        qt::SetPaintCanvas(FList, nullptr);
        font = canvas->GetFont();
        brush = canvas->GetBrush().GetColor();
        return defaultDraw;
    }

    void PaintGridLines(QPainter *p, const QRect &r) const {
        p->save();
        p->setPen(gfx::qt::ToQColor(gfx::clBtnFace));
        p->drawLine(r.right(), r.top(), r.right(), r.bottom());
        p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p->restore();
    }

    void PaintGroupHeader(QPainter *p, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const {
        p->save();
        p->fillRect(option.rect, gfx::qt::ToQColor(FList.GetColor()));
        QFont f = gfx::qt::ToQFont(FList.GetFont());
        f.setBold(true);
        p->setFont(f);
        p->setPen(gfx::qt::ToQColor(gfx::clHotLight));
        const bool expanded = option.state & QStyle::State_Open;
        const QString text =
            (expanded ? u"\u25BE "_qs : u"\u25B8 "_qs) + index.data(Qt::DisplayRole).toString();
        const QRect r = option.rect.adjusted(4, 0, -4, 0);
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
        const int x = r.left() + QFontMetrics(f).horizontalAdvance(text) + 6;
        const int y = r.center().y();
        if (x < r.right()) {
            p->setPen(gfx::qt::ToQColor(gfx::clBtnFace));
            p->drawLine(x, y, r.right(), y);
        }
        p->restore();
    }

    TListView &FList;
};

// Builds the rows before the list paints.
class PaintFlusher : public QObject {
public:
    explicit PaintFlusher(const TListView &list) : FList(list) {}
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) {
            FList.Flush();
        }
        return false;
    }

private:
    const TListView &FList;
};

// The accessibility layer reports the current cell of a list as focused whether or not the
// list has the focus: while the focus is elsewhere the list keeps no current cell, and takes
// it back (or the selected row) when the focus returns.
class CurrentCellKeeper : public QObject {
public:
    explicit CurrentCellKeeper(QTreeWidget &tree) : FTree(tree) {}

    void HideUnlessFocused() {
        QItemSelectionModel *model = FTree.selectionModel();
        if (FTree.hasFocus() || !model || !model->currentIndex().isValid()) {
            return;
        }
        FSaved = model->currentIndex();
        model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::FocusOut) {
            HideUnlessFocused();
        } else if (e->type() == QEvent::FocusIn) {
            Restore();
        }
        return false;
    }

private:
    void Restore() {
        QItemSelectionModel *model = FTree.selectionModel();
        if (!model || model->currentIndex().isValid()) {
            return;
        }
        QModelIndex index = FSaved;
        if (!index.isValid() && !model->selectedRows().isEmpty()) {
            index = model->selectedRows().first();
        }
        if (index.isValid()) {
            model->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        FSaved = QPersistentModelIndex();
    }

    QTreeWidget &FTree;
    QPersistentModelIndex FSaved;
};

} // namespace

struct TListView::Impl {
    QTreeWidget *tree = nullptr;
    std::unordered_map<const TListItem *, QTreeWidgetItem *> rows;
    std::unordered_map<int32_t, QTreeWidgetItem *> headers;
    std::set<int32_t> folded;   // groups the user folded
    std::set<int32_t> unfolded; // groups the user opened
    std::unique_ptr<PaintFlusher> flusher;
    std::unique_ptr<CurrentCellKeeper> currentKeeper;
    bool dirty = false;
    bool syncing = false;
};

namespace {

QTreeWidgetItem *MakeRow(TListItem *item, int columns, const TListColumns &cols) {
    auto *row = new QTreeWidgetItem();
    for (int c = 0; c < columns; ++c) {
        row->setText(c, gfx::qt::ToQString(item->ColumnText(c)));
        if (c < cols.GetCount() && cols[c]->GetAlignment() != taLeftJustify) {
            row->setTextAlignment(
                c, (cols[c]->GetAlignment() == taCenter ? Qt::AlignHCenter : Qt::AlignRight) |
                       Qt::AlignVCenter);
        }
    }
    row->setData(0, RowRole, quintptr(item));
    return row;
}

} // namespace

TListView::TListView(TComponent *owner) : TWinControl(owner), FImpl(std::make_unique<Impl>()) {
    auto *tree = new QTreeWidget();
    FImpl->tree = tree;
    tree->setRootIsDecorated(false);
    tree->setIndentation(0);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setExpandsOnDoubleClick(false);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    tree->setItemDelegate(new ListDelegate(*this, tree));
    qt::AttachWidget(*this, tree, false);
    FImpl->flusher = std::make_unique<PaintFlusher>(*this);
    tree->viewport()->installEventFilter(FImpl->flusher.get());
    FImpl->currentKeeper = std::make_unique<CurrentCellKeeper>(*tree);
    tree->installEventFilter(FImpl->currentKeeper.get());
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [this] {
        if (FImpl->syncing) {
            return;
        }
        for (auto &[item, row] : FImpl->rows) {
            const_cast<TListItem *>(item)->SyncSelected(row->isSelected());
        }
    });
    QObject::connect(tree, &QTreeWidget::itemClicked, tree, [this](QTreeWidgetItem *it, int) {
        const QVariant id = it->data(0, GroupRole);
        TListGroup *g = id.isValid() ? FGroups.FindByGroupID(id.toInt()) : nullptr;
        if (g && g->GetState().Contains(lgsCollapsible)) {
            SetGroupExpanded(g->GetGroupID(), !it->isExpanded());
        }
    });
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetBounds(0, 0, 250, 150);
    ColumnsChanged();
}

TListView::~TListView() {
    FImpl->syncing = true;
    FImpl->tree->clear();
}

void TListView::StructureChanged() {
    if (FImpl->dirty) {
        return;
    }
    // The native rows point at items that may be going away: drop them now, rebuild soon.
    FImpl->dirty = true;
    FImpl->syncing = true;
    FImpl->tree->clear();
    FImpl->rows.clear();
    FImpl->headers.clear();
    FImpl->syncing = false;
    QTimer::singleShot(0, FImpl->tree, [this] { Flush(); });
}

void TListView::Flush() const {
    Impl &d = *FImpl;
    if (!d.dirty) {
        return;
    }
    d.dirty = false;
    d.syncing = true;
    const int columns = std::max(1, FColumns.GetCount());
    QList<QTreeWidgetItem *> top;
    if (FGroupView) {
        for (int i = 0; i < FGroups.GetCount(); ++i) {
            auto *header = new QTreeWidgetItem();
            header->setText(0, gfx::qt::ToQString(FGroups[i]->GetHeader()));
            header->setData(0, GroupRole, FGroups[i]->GetGroupID());
            header->setFlags(Qt::ItemIsEnabled);
            d.headers.emplace(FGroups[i]->GetGroupID(), header);
            top.append(header);
        }
    }
    for (int i = 0; i < FItems.GetCount(); ++i) {
        TListItem *item = FItems[i];
        QTreeWidgetItem *parent = nullptr;
        if (FGroupView) {
            auto h = d.headers.find(item->GetGroupID());
            if (h == d.headers.end()) {
                continue; // rows outside every group are not shown in group view
            }
            parent = h->second;
        }
        QTreeWidgetItem *row = MakeRow(item, columns, FColumns);
        d.rows.emplace(item, row);
        parent ? parent->addChild(row) : top.append(row);
    }
    d.tree->addTopLevelItems(top);
    for (auto &[id, header] : d.headers) {
        header->setFirstColumnSpanned(true);
        const TListGroup *g = FGroups.FindByGroupID(id);
        const bool folded = d.folded.count(id) ||
                            (g && g->GetState().Contains(lgsCollapsed) && !d.unfolded.count(id));
        header->setExpanded(!folded);
    }
    for (auto &[item, row] : d.rows) {
        row->setSelected(item->GetSelected());
    }
    d.syncing = false;
}

void TListView::ItemTextChanged(TListItem *item) {
    auto it = FImpl->rows.find(item);
    if (FImpl->dirty || it == FImpl->rows.end()) {
        return;
    }
    for (int c = 0; c < std::max(1, FColumns.GetCount()); ++c) {
        it->second->setText(c, gfx::qt::ToQString(item->ColumnText(c)));
    }
}

void TListView::ItemSelectedChanged(TListItem *item) {
    if (item->GetSelected()) {
        // One row at a time, as the list selects singly.
        for (int i = 0; i < FItems.GetCount(); ++i) {
            if (FItems[i] != item) {
                FItems[i]->SyncSelected(false);
            }
        }
    }
    if (FImpl->dirty) {
        return;
    }
    FImpl->syncing = true;
    FImpl->tree->clearSelection();
    if (auto it = FImpl->rows.find(item); it != FImpl->rows.end() && item->GetSelected()) {
        it->second->setSelected(true);
        FImpl->tree->setCurrentItem(it->second);
        FImpl->currentKeeper->HideUnlessFocused();
    }
    FImpl->syncing = false;
}

void TListView::ColumnsChanged() {
    QTreeWidget *tree = FImpl->tree;
    const int n = std::max(1, FColumns.GetCount());
    tree->setColumnCount(n);
    QStringList labels;
    for (int i = 0; i < FColumns.GetCount(); ++i) {
        labels << gfx::qt::ToQString(FColumns[i]->GetCaption());
    }
    tree->setHeaderLabels(labels);
    QHeaderView *h = tree->header();
    for (int i = 0; i < FColumns.GetCount(); ++i) {
        const TListColumn &c = *FColumns[i];
        h->resizeSection(i, c.GetWidth());
        const bool fixed = c.GetMinWidth() > 0 && c.GetMinWidth() == c.GetMaxWidth();
        h->setSectionResizeMode(i, fixed ? QHeaderView::Fixed : QHeaderView::Interactive);
    }
    StructureChanged();
}

void TListView::SetGridLines(bool v) {
    FGridLines = v;
    Invalidate();
}

void TListView::SetGroupView(bool v) {
    if (v != FGroupView) {
        FGroupView = v;
        StructureChanged();
    }
}

void TListView::SetShowColumnHeaders(bool v) {
    FShowColumnHeaders = v;
    FImpl->tree->setHeaderHidden(!v);
}

TListItem *TListView::GetSelected() const {
    for (int i = 0; i < FItems.GetCount(); ++i) {
        if (FItems[i]->GetSelected()) {
            return FItems[i];
        }
    }
    return nullptr;
}

void TListView::SetSelected(TListItem *item) {
    if (item) {
        item->SetSelected(true);
    } else if (TListItem *s = GetSelected()) {
        s->SetSelected(false);
    }
}

int32_t TListView::GetItemIndex() const {
    const TListItem *s = GetSelected();
    return s ? s->GetIndex() : -1;
}

void TListView::SetItemIndex(int32_t index) {
    SetSelected(index >= 0 && index < FItems.GetCount() ? FItems[index] : nullptr);
}

bool TListView::GroupExpanded(int32_t groupID) const {
    Flush();
    auto it = FImpl->headers.find(groupID);
    return it != FImpl->headers.end() && it->second->isExpanded();
}

void TListView::SetGroupExpanded(int32_t groupID, bool expanded) {
    Flush();
    (expanded ? FImpl->folded : FImpl->unfolded).erase(groupID);
    (expanded ? FImpl->unfolded : FImpl->folded).insert(groupID);
    if (auto it = FImpl->headers.find(groupID); it != FImpl->headers.end()) {
        it->second->setExpanded(expanded);
    }
}

gfx::TRect TListView::CellRectForTesting(const TListItem *item, int32_t column) const {
    Flush();
    auto it = FImpl->rows.find(item);
    if (it == FImpl->rows.end()) {
        return {};
    }
    QTreeWidget *tree = FImpl->tree;
    const QRect row = tree->visualItemRect(it->second);
    if (row.isEmpty()) {
        return {};
    }
    QHeaderView *h = tree->header();
    const QPoint origin = tree->viewport()->mapTo(tree, QPoint(0, 0));
    const int left = h->sectionViewportPosition(column) + origin.x();
    const int top = row.top() + origin.y();
    return gfx::Bounds(left, top, h->sectionSize(column), row.height());
}

rtl::UnicodeString TListView::NativeTextForTesting(const TListItem *item, int32_t column) const {
    Flush();
    auto it = FImpl->rows.find(item);
    return it == FImpl->rows.end() ? rtl::UnicodeString()
                                   : gfx::qt::FromQString(it->second->text(column));
}

} // namespace ui
