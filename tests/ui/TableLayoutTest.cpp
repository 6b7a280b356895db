#include "ui/scroll/TableLayout.h"

#include <gtest/gtest.h>

namespace {

ui::TableLayout twoSections()
{
    // Section 0: header 22, rows 44 and 30.5, footer 0. Section 1: header 0, three rows of 20, footer 10.
    return ui::TableLayout({ { 22, 0, { 44, 30.5 } }, { 0, 10, { 20, 20, 20 } } });
}

TEST(TableLayout, ContentHeightIsTheSumOfHeadersRowsAndFooters)
{
    auto layout = twoSections();
    EXPECT_DOUBLE_EQ(layout.contentHeight(), 22 + 44 + 30.5 + 60 + 10);
    EXPECT_EQ(layout.row({ 0, 1 }), (ui::TableSpan { 66, 30.5 }));
    EXPECT_EQ(layout.row({ 1, 0 }), (ui::TableSpan { 96.5, 20 }));
    EXPECT_EQ(layout.footer(1), (ui::TableSpan { 156.5, 10 }));
    EXPECT_FALSE(layout.row({ 1, 3 }));
    EXPECT_FALSE(layout.header(2));
    EXPECT_EQ(ui::TableLayout().contentHeight(), 0);
}

TEST(TableLayout, RowsMeetingARangeAcrossSections)
{
    auto layout = twoSections();
    std::vector<ui::IndexPath> expected { { 0, 1 }, { 1, 0 }, { 1, 1 } };
    EXPECT_EQ(layout.rowsMeeting(70, 117), expected);
    // Edges are half-open: a row ending where the range starts is not in it.
    EXPECT_EQ(layout.rowsMeeting(66, 67), (std::vector<ui::IndexPath> { { 0, 1 } }));
    EXPECT_TRUE(layout.rowsMeeting(-50, 22).empty());
    EXPECT_TRUE(layout.rowsMeeting(200, 300).empty());
}

TEST(TableLayout, RowAtFindsTheCoveringRowOnly)
{
    auto layout = twoSections();
    EXPECT_EQ(layout.rowAt(22), (ui::IndexPath { 0, 0 }));
    EXPECT_EQ(layout.rowAt(96.4), (ui::IndexPath { 0, 1 }));
    EXPECT_FALSE(layout.rowAt(10)); // header
    EXPECT_FALSE(layout.rowAt(160)); // footer
}

TEST(TableLayout, ZeroHeightRowsCountWhereTheyLie)
{
    ui::TableLayout layout({ { 0, 0, { 10, 0, 10 } } });
    EXPECT_EQ(layout.rowsMeeting(10, 11), (std::vector<ui::IndexPath> { { 0, 1 }, { 0, 2 } }));
    EXPECT_EQ(layout.rowAt(10), (ui::IndexPath { 0, 2 }));
}

} // namespace
