// kit scroll-view field accessors: read or change one field of a scroll view's content inset, content offset
// or content size, keeping the other fields. Each change goes through the scroll view's own setter, with
// its notifications. Main thread.
//
//   kit::setInsetTop(*tableView, kit::insetTop(*tableView) + 64);
//   double y = kit::offsetY(*tableView);
#pragma once

#include "ui/scroll/ScrollView.h"

namespace kit {

void setInsetTop(ui::ScrollView& scrollView, double top);
double insetTop(const ui::ScrollView& scrollView);
void setInsetBottom(ui::ScrollView& scrollView, double bottom);
double insetBottom(const ui::ScrollView& scrollView);
void setInsetLeft(ui::ScrollView& scrollView, double left);
double insetLeft(const ui::ScrollView& scrollView);
void setInsetRight(ui::ScrollView& scrollView, double right);
double insetRight(const ui::ScrollView& scrollView);
void setOffsetX(ui::ScrollView& scrollView, double x);
double offsetX(const ui::ScrollView& scrollView);
void setOffsetY(ui::ScrollView& scrollView, double y);
double offsetY(const ui::ScrollView& scrollView);
void setContentSizeWidth(ui::ScrollView& scrollView, double width);
double contentSizeWidth(const ui::ScrollView& scrollView);
void setContentSizeHeight(ui::ScrollView& scrollView, double height);
double contentSizeHeight(const ui::ScrollView& scrollView);

} // namespace kit
