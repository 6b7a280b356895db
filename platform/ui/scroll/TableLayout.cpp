#include "ui/scroll/TableLayout.h"

#include <algorithm>

namespace ui {

TableLayout::TableLayout(std::vector<TableSectionHeights> sections)
{
    double y = 0;
    m_sections.reserve(sections.size());
    for (auto& heights : sections) {
        Section section;
        section.header = { y, heights.header };
        y += heights.header;
        section.rows.reserve(heights.rows.size());
        for (double height : heights.rows) {
            section.rows.push_back({ y, height });
            y += height;
        }
        section.footer = { y, heights.footer };
        y += heights.footer;
        m_sections.push_back(std::move(section));
    }
    m_contentHeight = y;
}

int TableLayout::numberOfRows(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return static_cast<int>(m_sections[section].rows.size());
}

bool TableLayout::contains(IndexPath path) const { return path.row >= 0 && path.row < numberOfRows(path.section); }

std::optional<TableSpan> TableLayout::header(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return std::nullopt;
    return m_sections[section].header;
}

std::optional<TableSpan> TableLayout::footer(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return std::nullopt;
    return m_sections[section].footer;
}

std::optional<TableSpan> TableLayout::row(IndexPath path) const
{
    if (!contains(path))
        return std::nullopt;
    return m_sections[path.section].rows[path.row];
}

std::vector<IndexPath> TableLayout::rowsMeeting(double minY, double maxY) const
{
    std::vector<IndexPath> result;
    if (maxY <= minY)
        return result;
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& section = m_sections[s];
        if (section.header.y >= maxY)
            break;
        if (section.footer.y < minY)
            continue;
        // Rows lie in order: skip those that end before the range.
        auto first = std::lower_bound(section.rows.begin(), section.rows.end(), minY,
            [](const TableSpan& span, double y) { return span.maxY() <= y && !(span.height == 0 && span.y >= y); });
        for (auto it = first; it != section.rows.end() && it->y < maxY; ++it)
            result.push_back({ s, static_cast<int>(it - section.rows.begin()) });
    }
    return result;
}

std::optional<IndexPath> TableLayout::rowAt(double y) const
{
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& section = m_sections[s];
        if (section.header.y > y)
            break;
        auto it = std::upper_bound(section.rows.begin(), section.rows.end(), y,
            [](double v, const TableSpan& span) { return v < span.maxY(); });
        if (it != section.rows.end() && it->y <= y)
            return IndexPath { s, static_cast<int>(it - section.rows.begin()) };
    }
    return std::nullopt;
}

} // namespace ui
