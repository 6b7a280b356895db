#include "kit/folder/FolderTableView.h"

#include "base/loop/MainThread.h"
#include "kit/support/ViewPictures.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/controls/ImageView.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/input/TapGestureRecognizer.h"

namespace kit {

namespace {
    constexpr double veilAlpha = 0.6;
    constexpr const char* animationTypeKey = "animationType";
    constexpr const char* closeAnimationType = "close";

    ui::TimingFunction slideTiming() { return ui::TimingFunction::named(ui::TimingFunction::Name::EaseInEaseOut); }
} // namespace

void FolderTableView::openFolderAtIndexPath(const ui::IndexPath& path, std::shared_ptr<ui::View> contentView,
    SlideBlock openBlock, SlideBlock closeBlock, CompletionBlock completionBlock)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_top || !contentView)
        return;
    auto cell = cellForRowAtIndexPath(path);
    gfx::Rect row = cell ? cell->frame() : rectForRowAtIndexPath(path);
    if (row.isNull() || row.isEmpty())
        return;
    auto self = ui::sharedFrom(this);
    m_contentView = std::move(contentView);
    m_openBlock = std::move(openBlock);
    m_closeBlock = std::move(closeBlock);
    m_completionBlock = std::move(completionBlock);
    m_closing = false;

    double width = frame().width();
    double height = frame().height();
    double startY = contentOffset().y;
    double arrowX = defaultArrowX;
    if (auto delegate = folderDelegate())
        arrowX = delegate->tableViewXForRowAtIndexPath(*this, path).value_or(defaultArrowX);

    // Bring the cut line into view: down when it lies below the visible area, up to the row's top when the
    // row starts above it.
    double cutY = row.maxY() - 1.0;
    m_offsetY = 0;
    if (cutY - startY > height)
        m_offsetY = cutY - height - startY;
    else if (row.minY() < startY)
        m_offsetY = row.minY() - startY;
    m_oldContentOffset = contentOffset();
    setContentOffset({ 0, startY + m_offsetY });
    // The rows brought into view need their cells before the picture is taken.
    layoutIfNeeded();
    double visibleY = contentOffset().y;

    auto picture = screenshotWithOffset(*this, -visibleY);
    double topHeight = cutY - visibleY;
    double visibleBottom = height + visibleY;
    double bottomHeight = visibleBottom - cutY;
    m_top = buttonForRect({ 0, visibleY, width, topHeight }, picture.get(), { arrowX, cutY }, true, false);
    m_bottom = buttonForRect({ 0, cutY, width, bottomHeight }, picture.get(), { arrowX, cutY }, false, false);
    connectCover(*m_top);
    connectCover(*m_bottom);
    addSubview(m_contentView);
    addSubview(m_top);
    addSubview(m_bottom);

    double contentHeight = m_contentView->frame().height();
    double contentY = topHeight + contentHeight > height ? visibleBottom - contentHeight : cutY;
    gfx::Rect contentFrame = m_contentView->frame();
    m_contentView->setFrame({ contentFrame.origin.x, contentY, contentFrame.width(), contentHeight });

    m_oldTopPoint = m_top->layer()->position();
    double topEdge = m_top->frame().maxY();
    gfx::Point topTo { m_oldTopPoint.x, topEdge > contentY ? m_oldTopPoint.y + contentY - topEdge : m_oldTopPoint.y };
    m_oldBottomPoint = m_bottom->layer()->position();
    double contentBottom = contentY + contentHeight;
    gfx::Point bottomTo { m_oldBottomPoint.x,
        contentBottom <= visibleBottom ? m_oldBottomPoint.y + contentHeight
                                       : m_oldBottomPoint.y + contentBottom - visibleY - height };
    slide(*m_top, m_oldTopPoint, topTo, "t1");
    slide(*m_bottom, m_oldBottomPoint, bottomTo, "t2");

    ui::View::animateWithDuration(animationDuration, [&] {
        m_top->cover()->setAlpha(veilAlpha);
        m_bottom->cover()->setAlpha(veilAlpha);
    });
    if (m_openBlock)
        m_openBlock(m_contentView, animationDuration, slideTiming());
    m_top->layer()->setPosition(topTo);
    m_bottom->layer()->setPosition(bottomTo);
}

std::shared_ptr<FolderCoverView> FolderTableView::buttonForRect(
    const gfx::Rect& rect, const gfx::Image* screen, gfx::Point position, bool isTop, bool transparent)
{
    double scale = ui::Screen::main().scale();
    double y = contentOffset().y;
    auto cut = screen ? screen->subImage({ rect.origin.x * scale, rect.origin.y * scale - y * scale,
                   rect.width() * scale, rect.height() * scale })
                      : nullptr;
    auto cover = FolderCoverView::make(rect, isTop ? rowHeight() : 0);
    if (isTop) {
        auto tip = std::make_shared<ui::ImageView>(gfx::Image::named(tipImageName));
        tip->setCenter({ position.x, rect.height() - 2 });
        cover->addSubview(tip);
    }
    cover->setIsTopView(isTop);
    cover->setPosition(position);
    cover->layer()->setContentsScale(scale);
    cover->layer()->setContents(transparent ? nullptr : cut);
    cover->layer()->setContentsGravity(ui::ContentsGravity::Center);
    return cover;
}

void FolderTableView::connectCover(FolderCoverView& cover)
{
    cover.addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->performClose();
        },
        ui::ControlEvent::TouchUpInside, this);
    auto tap = std::make_shared<ui::TapGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer& g) {
        auto& recognizer = static_cast<ui::TapGestureRecognizer&>(g);
        bool done
            = g.state() == ui::GestureRecognizer::State::Changed || g.state() == ui::GestureRecognizer::State::Ended;
        if (auto self = weak.lock(); self && done && recognizer.numberOfTapsRequired() != 0)
            self->performClose();
    });
    cover.cover()->addGestureRecognizer(tap);
}

void FolderTableView::slide(FolderCoverView& cover, gfx::Point from, gfx::Point to, const char* key)
{
    auto animation = std::make_shared<ui::BasicAnimation>("position");
    animation->setDuration(animationDuration);
    animation->setTimingFunction(slideTiming());
    animation->setFromValue(from);
    animation->setToValue(to);
    cover.layer()->addAnimation(animation, key);
}

void FolderTableView::performClose()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_closing || !m_top)
        return;
    m_closing = true;
    auto self = ui::sharedFrom(this);
    auto closing = [&](gfx::Point to) {
        auto animation = std::make_shared<ui::BasicAnimation>("position");
        animation->setValue(animationTypeKey, base::Value(closeAnimationType));
        animation->setDelegate(self);
        animation->setTimingFunction(slideTiming());
        animation->setDuration(animationDuration);
        animation->setToValue(to);
        return animation;
    };
    m_closeAnimationsRunning = 2;
    m_top->layer()->addAnimation(closing(m_oldTopPoint), "b1");
    m_bottom->layer()->addAnimation(closing(m_oldBottomPoint), "b2");

    ui::View::animateWithDuration(animationDuration, [&] {
        setContentOffset(m_oldContentOffset);
        m_top->cover()->setAlpha(0);
        m_bottom->cover()->setAlpha(0);
    });
    if (m_closeBlock)
        m_closeBlock(m_contentView, animationDuration, slideTiming());
    m_top->layer()->setPosition(m_oldTopPoint);
    m_bottom->layer()->setPosition(m_oldBottomPoint);
}

void FolderTableView::animationDidStop(const ui::Animation& animation, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    const base::Value* type = animation.value(animationTypeKey);
    if (!type || !type->isString() || *type != base::Value(closeAnimationType) || m_closeAnimationsRunning == 0)
        return;
    // The folder goes once both covers are back, so the completion runs once per close.
    if (--m_closeAnimationsRunning > 0)
        return;
    removeFolder();
}

void FolderTableView::removeFolder()
{
    auto self = ui::sharedFrom(this);
    m_top->removeFromSuperview();
    m_bottom->removeFromSuperview();
    m_contentView->removeFromSuperview();
    m_top.reset();
    m_bottom.reset();
    m_contentView.reset();
    if (m_completionBlock)
        m_completionBlock();
}

} // namespace kit
