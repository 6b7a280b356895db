#include "ui/controllers/ImagePickerListController.h"

#include "base/loop/MainThread.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controllers/ImagePickerController.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace ui {

ImagePickerListController::ImagePickerListController(std::weak_ptr<ImagePickerController> picker)
    : m_picker(std::move(picker))
{
    BASE_ASSERT_MAIN_THREAD();
    setTitle("Pictures");
}

void ImagePickerListController::loadView()
{
    BASE_ASSERT_MAIN_THREAD();
    m_table = std::make_shared<TableView>(Screen::main().bounds());
    m_table->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    // The list runs under the status and navigation bars and starts below them.
    double top = Screen::statusBarHeight + NavigationBar::height;
    m_table->setContentInset({ top, 0, 0, 0 });
    m_table->setContentOffset({ 0, -top });
    setView(m_table);
}

void ImagePickerListController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = std::static_pointer_cast<ImagePickerListController>(sharedFrom<ViewController>(this));
    m_table->setDataSource(self);
    m_table->setDelegate(self);
    navigationItem()->setRightBarButtonItem(
        std::make_shared<BarButtonItem>("Cancel", BarButtonItemStyle::Plain, [picker = m_picker](BarButtonItem&) {
            if (auto strong = picker.lock())
                strong->cancel();
        }));
}

void ImagePickerListController::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_files = ImagePickerController::availableImageFiles();
    m_table->reloadData();
}

bool ImagePickerListController::performEscape()
{
    BASE_ASSERT_MAIN_THREAD();
    auto cancel = navigationItem()->rightBarButtonItem();
    if (!cancel)
        return false;
    cancel->sendAction();
    return true;
}

int ImagePickerListController::numberOfRowsInSection(TableView&, int) { return static_cast<int>(m_files.size()); }

std::shared_ptr<TableViewCell> ImagePickerListController::cellForRowAtIndexPath(TableView& table, IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier("picture");
    if (!cell)
        cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "picture");
    cell->textLabel()->setText(m_files[path.row].filename().string());
    return cell;
}

void ImagePickerListController::didSelectRowAtIndexPath(TableView& table, IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    table.deselectRowAtIndexPath(path, true);
    if (auto picker = m_picker.lock())
        (void)picker->pickImageFile(m_files[path.row]); // an unreadable file is logged; the list stays up
}

} // namespace ui
