#include "ui/scroll/TableView.h"

#include "base/loop/MainThread.h"
#include "ui/scroll/TableSectionTitleView.h"
#include "ui/scroll/TableViewCell.h"

#include <algorithm>

namespace ui {

namespace {

    constexpr double plainSectionHeight = 22;
    constexpr double groupedHeaderHeight = 28;
    constexpr double groupedFooterHeight = 10;
    constexpr gfx::Color groupedBackground { 0.937, 0.937, 0.957, 1 };
    constexpr gfx::Color defaultSeparatorColor { 0.784, 0.78, 0.8, 1 };

} // namespace

TableView::TableView(const gfx::Rect& frame, TableViewStyle style)
    : ScrollView(frame)
    , m_style(style)
    , m_sectionHeaderHeight(style == TableViewStyle::Grouped ? groupedHeaderHeight : plainSectionHeight)
    , m_sectionFooterHeight(style == TableViewStyle::Grouped ? groupedFooterHeight : plainSectionHeight)
    , m_separatorColor(defaultSeparatorColor)
{
    setAlwaysBounceVertical(true);
    setBackgroundColor(style == TableViewStyle::Grouped ? groupedBackground : gfx::Color::white());
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource)
{
    m_dataSource = std::move(dataSource);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate)
{
    m_tableDelegate = delegate;
    ScrollView::setDelegate(std::move(delegate));
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style)
{
    m_separatorStyle = style;
    for (auto& [path, cell] : m_visibleCells)
        cell->setSeparator(style == TableViewCellSeparatorStyle::SingleLine, m_separatorColor);
}

void TableView::setSeparatorColor(gfx::Color color)
{
    m_separatorColor = color;
    setSeparatorStyle(m_separatorStyle);
}

void TableView::reloadData()
{
    BASE_ASSERT_MAIN_THREAD();
    m_loaded = true;
    m_selected.reset();
    m_touchedRow.reset();
    for (auto& [path, cell] : m_visibleCells)
        recycle(cell);
    m_visibleCells.clear();
    for (auto& [section, views] : m_sectionViews) {
        if (views.header)
            views.header->removeFromSuperview();
        if (views.footer)
            views.footer->removeFromSuperview();
    }
    m_sectionViews.clear();

    std::vector<TableSectionHeights> sections;
    if (auto dataSource = m_dataSource.lock()) {
        auto delegate = m_tableDelegate.lock();
        int count = std::max(0, dataSource->numberOfSectionsInTableView(*this));
        for (int section = 0; section < count; ++section)
            sections.push_back(measureSection(*dataSource, delegate.get(), section));
    }
    m_layout = TableLayout(std::move(sections));
    m_contentWidth = bounds().width();
    setContentSize({ bounds().width(), m_layout.contentHeight() });
    setNeedsLayout();
}

TableSectionHeights TableView::measureSection(TableViewDataSource& dataSource, TableViewDelegate* delegate, int section)
{
    TableSectionHeights heights;
    SectionViews& views = m_sectionViews[section];
    auto measure = [&](bool header) {
        std::shared_ptr<View> view = makeSupplementaryView(section, header);
        std::optional<double> height;
        if (delegate)
            height = header ? delegate->heightForHeaderInSection(*this, section)
                            : delegate->heightForFooterInSection(*this, section);
        if (!height && view)
            height = view->frame().height();
        if (!height && m_style == TableViewStyle::Grouped)
            height = header ? m_sectionHeaderHeight : m_sectionFooterHeight;
        (header ? views.header : views.footer) = view;
        return std::max(0.0, height.value_or(0));
    };
    heights.header = measure(true);
    int rows = std::max(0, dataSource.numberOfRowsInSection(*this, section));
    heights.rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        std::optional<double> height;
        if (delegate)
            height = delegate->heightForRowAtIndexPath(*this, { section, row });
        heights.rows.push_back(std::max(0.0, height.value_or(m_rowHeight)));
    }
    heights.footer = measure(false);
    return heights;
}

std::shared_ptr<View> TableView::makeSupplementaryView(int section, bool header)
{
    auto delegate = m_tableDelegate.lock();
    if (delegate) {
        auto view = header ? delegate->viewForHeaderInSection(*this, section)
                           : delegate->viewForFooterInSection(*this, section);
        if (view)
            return view;
    }
    auto dataSource = m_dataSource.lock();
    if (!dataSource)
        return nullptr;
    std::string title = header ? dataSource->titleForHeaderInSection(*this, section)
                               : dataSource->titleForFooterInSection(*this, section);
    if (title.empty())
        return nullptr;
    double height = header ? m_sectionHeaderHeight : m_sectionFooterHeight;
    return std::make_shared<TableSectionTitleView>(gfx::Rect { 0, 0, bounds().width(), height }, title, m_style);
}

void TableView::loadIfNeeded()
{
    if (!m_loaded)
        reloadData();
}

int TableView::numberOfSections()
{
    loadIfNeeded();
    return m_layout.numberOfSections();
}

int TableView::numberOfRowsInSection(int section)
{
    loadIfNeeded();
    return m_layout.numberOfRows(section);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto pool = m_reusePool.find(identifier);
    if (pool == m_reusePool.end() || pool->second.empty())
        return nullptr;
    auto cell = std::move(pool->second.back());
    pool->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableView::recycle(const std::shared_ptr<TableViewCell>& cell)
{
    cell->removeFromSuperview();
    cell->setHighlighted(false, false);
    cell->setSelected(false, false);
    if (!cell->reuseIdentifier().empty())
        m_reusePool[cell->reuseIdentifier()].push_back(cell);
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(IndexPath path)
{
    loadIfNeeded();
    layoutIfNeeded();
    auto found = m_visibleCells.find(path);
    return found == m_visibleCells.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells()
{
    loadIfNeeded();
    layoutIfNeeded();
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (auto& [path, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows()
{
    loadIfNeeded();
    layoutIfNeeded();
    std::vector<IndexPath> paths;
    for (auto& [path, cell] : m_visibleCells)
        paths.push_back(path);
    return paths;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const
{
    for (auto& [path, visible] : m_visibleCells) {
        if (visible.get() == &cell)
            return path;
    }
    return std::nullopt;
}

gfx::Rect TableView::spanRect(const std::optional<TableSpan>& span) const
{
    if (!span)
        return gfx::Rect::null();
    return { 0, span->y, bounds().width(), span->height };
}

gfx::Rect TableView::rectForRowAtIndexPath(IndexPath path)
{
    loadIfNeeded();
    return spanRect(m_layout.row(path));
}

gfx::Rect TableView::rectForHeaderInSection(int section)
{
    loadIfNeeded();
    return spanRect(m_layout.header(section));
}

gfx::Rect TableView::rectForFooterInSection(int section)
{
    loadIfNeeded();
    return spanRect(m_layout.footer(section));
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(gfx::Point point)
{
    loadIfNeeded();
    if (point.x < 0 || point.x >= bounds().width())
        return std::nullopt;
    return m_layout.rowAt(point.y);
}

void TableView::selectRowAtIndexPath(IndexPath path, bool animated)
{
    loadIfNeeded();
    if (!m_layout.contains(path))
        return;
    if (m_selected && *m_selected != path)
        setRowSelected(*m_selected, false, animated);
    m_selected = path;
    setRowSelected(path, true, animated);
}

void TableView::deselectRowAtIndexPath(IndexPath path, bool animated)
{
    if (m_selected != path)
        return;
    m_selected.reset();
    setRowSelected(path, false, animated);
}

void TableView::setRowSelected(IndexPath path, bool selected, bool animated)
{
    auto found = m_visibleCells.find(path);
    if (found != m_visibleCells.end())
        found->second->setSelected(selected, animated);
}

void TableView::layoutSubviews()
{
    loadIfNeeded();
    double width = bounds().width();
    if (m_contentWidth != width) {
        m_contentWidth = width;
        setContentSize({ width, m_layout.contentHeight() });
    }
    double minY = bounds().minY();
    double maxY = minY + bounds().height();
    tileRows(minY, maxY);
    tileSections(minY, maxY);
}

void TableView::tileRows(double minY, double maxY)
{
    std::vector<IndexPath> rows = m_layout.rowsMeeting(minY, maxY);
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
        if (std::binary_search(rows.begin(), rows.end(), it->first)) {
            ++it;
            continue;
        }
        recycle(it->second);
        it = m_visibleCells.erase(it);
    }
    auto dataSource = m_dataSource.lock();
    bool separators = m_separatorStyle == TableViewCellSeparatorStyle::SingleLine;
    for (IndexPath path : rows) {
        auto& cell = m_visibleCells[path];
        if (!cell && dataSource) {
            cell = dataSource->cellForRowAtIndexPath(*this, path);
            if (!cell) {
                m_visibleCells.erase(path);
                continue;
            }
            cell->setSelected(m_selected == path, false);
            insertSubviewAtIndex(cell, 0);
        }
        if (!cell) {
            m_visibleCells.erase(path);
            continue;
        }
        cell->setFrame(spanRect(m_layout.row(path)));
        cell->setSeparator(separators, m_separatorColor);
    }
}

void TableView::tileSections(double minY, double maxY)
{
    for (auto& [section, views] : m_sectionViews) {
        placeSupplementaryView(views.header, section, true, minY, maxY);
        placeSupplementaryView(views.footer, section, false, minY, maxY);
    }
}

void TableView::placeSupplementaryView(std::shared_ptr<View>& view, int section, bool header, double minY, double maxY)
{
    if (!view)
        return;
    gfx::Rect rect = spanRect(header ? m_layout.header(section) : m_layout.footer(section));
    bool visible = rect.height() > 0 && rect.minY() < maxY && rect.maxY() > minY;
    if (!visible) {
        if (view->superview().get() == this)
            view->removeFromSuperview();
        return;
    }
    view->setFrame(rect);
    if (view->superview().get() != this)
        insertSubviewAtIndex(view, m_visibleCells.size());
}

std::optional<IndexPath> TableView::rowUnderTouch(const TouchSet& touches) const
{
    if (touches.empty())
        return std::nullopt;
    gfx::Point point = touches.front()->locationInView(this);
    if (point.x < 0 || point.x >= bounds().width())
        return std::nullopt;
    return m_layout.rowAt(point.y);
}

void TableView::touchesBegan(const TouchSet& touches, const Event*)
{
    m_touchedRow.reset();
    if (!m_allowsSelection || isDecelerating())
        return;
    m_touchedRow = rowUnderTouch(touches);
    if (!m_touchedRow)
        return;
    auto found = m_visibleCells.find(*m_touchedRow);
    if (found != m_visibleCells.end())
        found->second->setHighlighted(true, false);
}

std::optional<IndexPath> TableView::releaseTouchedRow()
{
    auto touched = std::exchange(m_touchedRow, std::nullopt);
    if (!touched)
        return std::nullopt;
    auto found = m_visibleCells.find(*touched);
    if (found != m_visibleCells.end())
        found->second->setHighlighted(false, false);
    return touched;
}

void TableView::touchesEnded(const TouchSet& touches, const Event*)
{
    auto touched = releaseTouchedRow();
    if (!touched)
        return;
    if (rowUnderTouch(touches) != touched)
        return;
    auto delegate = m_tableDelegate.lock();
    if (m_selected && *m_selected != *touched) {
        IndexPath previous = *m_selected;
        deselectRowAtIndexPath(previous, false);
        if (delegate)
            delegate->didDeselectRowAtIndexPath(*this, previous);
    }
    m_selected = touched;
    setRowSelected(*touched, true, false);
    if (delegate)
        delegate->didSelectRowAtIndexPath(*this, *touched);
}

// A cancelled touch selects nothing, whichever row it was on.
void TableView::touchesCancelled(const TouchSet&, const Event*) { (void)releaseTouchedRow(); }

} // namespace ui
