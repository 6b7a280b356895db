// kit::FolderTableView: a table that opens a "folder" under a row. It takes a picture of what it shows, cuts
// it at the bottom of the row into a top and a bottom cover, lays the caller's content view between them and
// slides the covers apart over 0.4 s (the top one up only as far as the content needs), the covers dimming
// under a white veil and a small tip on the top cover pointing at the content. A tap on either cover closes
// the folder: the covers slide back, the table scrolls back to where it was, everything added is removed and
// the completion block runs once. An open while a folder is open or closing is ignored. Main thread.
//
//   table->openFolderAtIndexPath({ 0, 2 }, alarmList, {}, {},
//       [weak] { if (auto self = weak.lock()) self->tableView()->setScrollEnabled(true); });
#pragma once

#include "kit/folder/FolderCoverView.h"
#include "kit/folder/FolderTableViewDelegate.h"
#include "ui/animation/Animation.h"
#include "ui/scroll/TableView.h"
#include "ui/animation/TimingFunction.h"

#include <functional>
#include <memory>

namespace kit {

class FolderTableView : public ui::TableView, public ui::AnimationDelegate {
public:
    static constexpr double animationDuration = 0.4;
    static constexpr double defaultArrowX = 40;
    static constexpr const char* tipImageName = "tip.png";

    // Called with the content view, the duration and the timing of the covers' slide, so that the caller
    // can move its content in step.
    using SlideBlock
        = std::function<void(const std::shared_ptr<ui::View>& content, double duration, const ui::TimingFunction&)>;
    using CompletionBlock = std::function<void()>;

    using ui::TableView::TableView;

    std::shared_ptr<FolderTableViewDelegate> folderDelegate() const { return m_folderDelegate.lock(); }
    void setFolderDelegate(std::weak_ptr<FolderTableViewDelegate> delegate) { m_folderDelegate = std::move(delegate); }

    // Opens the folder under the row; a row out of sight is cut at its rectangle (after scrolling it into
    // view), a row that does not exist opens nothing.
    void openFolderAtIndexPath(const ui::IndexPath& path, std::shared_ptr<ui::View> contentView, SlideBlock openBlock,
        SlideBlock closeBlock, CompletionBlock completionBlock);
    // Closes the open folder; a second request while closing is ignored.
    void performClose();

    const std::shared_ptr<ui::View>& subClassContentView() const { return m_contentView; }
    const std::shared_ptr<FolderCoverView>& top() const { return m_top; }
    const std::shared_ptr<FolderCoverView>& bottom() const { return m_bottom; }
    bool isClosing() const { return m_closing; }
    // How far the table scrolled down to bring the row's bottom into view.
    double offsetY() const { return m_offsetY; }

    void animationDidStop(const ui::Animation& animation, bool finished) override;

private:
    std::shared_ptr<FolderCoverView> buttonForRect(
        const gfx::Rect& rect, const gfx::Image* screen, gfx::Point position, bool isTop, bool transparent);
    void connectCover(FolderCoverView& cover);
    // Slides a cover's layer from where it is to `to` under `key`.
    void slide(FolderCoverView& cover, gfx::Point from, gfx::Point to, const char* key);
    void removeFolder();

    std::weak_ptr<FolderTableViewDelegate> m_folderDelegate;
    std::shared_ptr<ui::View> m_contentView;
    std::shared_ptr<FolderCoverView> m_top;
    std::shared_ptr<FolderCoverView> m_bottom;
    SlideBlock m_openBlock;
    SlideBlock m_closeBlock;
    CompletionBlock m_completionBlock;
    gfx::Point m_oldTopPoint;
    gfx::Point m_oldBottomPoint;
    gfx::Point m_oldContentOffset;
    double m_offsetY { 0 };
    bool m_closing { false };
    int m_closeAnimationsRunning { 0 };
};

} // namespace kit
