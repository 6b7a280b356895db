#include "kit/LoadingCell.h"

#include "OverlayTestFixture.h"
#include "ui/ActivityIndicatorView.h"
#include "ui/Label.h"

namespace {

using LoadingCellTest = test::WidgetTest;

TEST_F(LoadingCellTest, SpinnerAtTheLeftMarginAndACentredLabel)
{
    auto cell = std::make_shared<kit::LoadingCell>();
    cell->setFrame({ 0, 0, 320, 44 });
    window->addSubview(cell);
    cell->lbl()->setText("Loading");
    cell->loading()->startAnimating();
    turn();
    EXPECT_EQ(cell->reuseIdentifier(), "loadingCell");
    EXPECT_EQ(cell->lbl()->superview(), cell->contentView());
    EXPECT_EQ(cell->lbl()->frame(), cell->contentView()->bounds());
    EXPECT_EQ(cell->lbl()->textAlignment(), gfx::TextAlignment::Center);
    EXPECT_EQ(cell->loading()->frame(), (gfx::Rect { 15, 12, 20, 20 }));
    EXPECT_FALSE(cell->loading()->isHidden());
}

} // namespace
