#include "kit/folder/FolderCoverView.h"

#include "base/loop/MainThread.h"

namespace kit {

std::shared_ptr<FolderCoverView> FolderCoverView::make(const gfx::Rect& frame, double offset)
{
    BASE_ASSERT_MAIN_THREAD();
    auto view = std::make_shared<FolderCoverView>(Private(), frame);
    view->createHighlightWithFrame(frame);
    view->m_cover = std::make_shared<ui::View>(gfx::Rect { 0, 0, frame.width(), frame.height() - offset });
    view->m_cover->setBackgroundColor(gfx::Color::white());
    view->m_cover->setAlpha(0);
    view->addSubview(view->m_cover);
    return view;
}

FolderCoverView::FolderCoverView(Private, const gfx::Rect& frame)
    : ui::Control(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

void FolderCoverView::createHighlightWithFrame(const gfx::Rect& frame)
{
    m_highlight = std::make_shared<ui::Layer>();
    m_highlight->setFrame({ frame.origin.x, frame.origin.y, frame.width(), 1 });
    m_highlight->setAnchorPoint({ 0, 0 });
    m_highlight->setBackgroundColor(gfx::Color::fromWhite(1, 0.3));
    layer()->addSublayer(m_highlight);
}

void FolderCoverView::setIsTopView(bool isTop) { m_highlight->setPosition({ 0, isTop ? bounds().height() - 1 : 0 }); }

} // namespace kit
