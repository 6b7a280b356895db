#include "kit/widgets/DropBoxView.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Label.h"
#include "ui/scroll/TableViewCell.h"

namespace kit {

namespace {

    constexpr const char* cellIdentifier = "cell";
    constexpr double arrowSide = 30;
    constexpr double textFontSize = 15;
    // Where each row's separator line sits, from the row's top.
    constexpr double separatorTop = 30;
    constexpr double separatorThickness = 0.5;

} // namespace

DropBoxView::DropBoxView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
}

void DropBoxView::setControlsViewOriginx(
    int x, int y, int textWidth, int height, int buttonWidth, int tableHeight, bool editable)
{
    BASE_ASSERT_MAIN_THREAD();
    int width = textWidth + buttonWidth;
    setBackgroundColor(gfx::Color::white());
    setFrame(
        { static_cast<double>(x), static_cast<double>(y), static_cast<double>(width), static_cast<double>(height) });

    m_view = std::make_shared<ui::View>(gfx::Rect { 0, 0, frame().width(), static_cast<double>(height) });
    m_view->layer()->setBorderColor(gfx::Color::black());
    m_view->layer()->setBorderWidth(1);
    addSubview(m_view);

    m_textField = std::make_shared<ui::TextField>(
        gfx::Rect { 0, 0, static_cast<double>(textWidth), static_cast<double>(height) });
    m_textField->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    m_textField->setUserInteractionEnabled(editable);
    m_textField->setFont(gfx::Font::system(textFontSize));
    m_view->addSubview(m_textField);

    m_buttonImageFlag = true;

    m_button = ui::Button::buttonWithType(ui::ButtonType::System);
    m_button->setFrame(
        { m_textField->frame().maxX(), 0, static_cast<double>(buttonWidth), static_cast<double>(height) });
    m_button->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->tableShowAndHide();
        },
        ui::ControlEvent::TouchUpInside, this);
    m_imageView = std::make_shared<ui::ImageView>(gfx::Rect { 0, 0, arrowSide, arrowSide });
    m_imageView->setImage(gfx::Image::named("big_arrow.png"));
    m_button->addSubview(m_imageView);
    m_view->addSubview(m_button);

    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, m_textField->frame().maxY(), static_cast<double>(width), static_cast<double>(tableHeight) });
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_tableView->setBackgroundColor(gfx::Color::white());
    m_tableView->setHidden(true);
    auto self = sharedFrom(this);
    m_tableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    m_tableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_tableView->layer()->setBorderColor(separatorColor());
    m_tableView->layer()->setBorderWidth(0.5);
    addSubview(m_tableView);
}

void DropBoxView::setHeight(double height)
{
    gfx::Rect own = frame();
    setFrame({ own.minX(), own.minY(), own.width(), height });
}

void DropBoxView::tableShowAndHide()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_buttonImageFlag) {
        closeTableview();
        return;
    }
    m_tableView->reloadData();
    setHeight(m_textField->frame().height() + m_tableView->frame().height());
    m_buttonImageFlag = false;
    m_imageView->setTransform(gfx::AffineTransform::makeScale(1, -1));
    m_tableView->setHidden(false);
}

void DropBoxView::reloadataTableview() { m_tableView->reloadData(); }

void DropBoxView::closeTableview()
{
    BASE_ASSERT_MAIN_THREAD();
    m_buttonImageFlag = true;
    setHeight(m_textField->frame().height());
    m_imageView->setTransform(gfx::AffineTransform::makeScale(1, 1));
    m_tableView->setHidden(true);
}

int DropBoxView::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_arr.size()); }

std::shared_ptr<ui::TableViewCell> DropBoxView::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, cellIdentifier);
        auto line = std::make_shared<ui::ImageView>(gfx::Rect { 0, separatorTop, frame().width(), separatorThickness });
        line->setBackgroundColor(separatorColor());
        cell->addSubview(line);
    }
    if (path.row >= 0 && path.row < static_cast<int>(m_arr.size()))
        cell->textLabel()->setText(m_arr[path.row]);
    return cell;
}

std::shared_ptr<ui::View> DropBoxView::viewForHeaderInSection(ui::TableView& table, int)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<ui::View>(gfx::Rect { table.frame().minX(), 0, table.frame().width(), 0 });
}

std::optional<double> DropBoxView::heightForRowAtIndexPath(ui::TableView&, ui::IndexPath) { return rowHeight; }

void DropBoxView::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    if (path.row < 0 || path.row >= static_cast<int>(m_arr.size()))
        return;
    m_textField->setText(m_arr[path.row]);
    closeTableview();
    table.deselectRowAtIndexPath(path, true);
    if (auto delegate = m_delegate.lock())
        delegate->selectAtIndex(path.row, *this);
}

} // namespace kit
