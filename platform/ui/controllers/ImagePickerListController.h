// ui::ImagePickerListController: the screen of an image picker: a table of the picture folder's image files
// (read afresh whenever it appears) and a Cancel button (the bar's right item, which Escape answers too); a
// tap on a row picks that file. Internal to the image picker. Main thread; made with std::make_shared.
#pragma once

#include "ui/scroll/TableViewDataSource.h"
#include "ui/controllers/ViewController.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace ui {

class ImagePickerController;
class TableView;

class ImagePickerListController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    explicit ImagePickerListController(std::weak_ptr<ImagePickerController> picker);

    const std::shared_ptr<TableView>& tableView() const { return m_table; }
    const std::vector<std::filesystem::path>& files() const { return m_files; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    bool performEscape() override;

    int numberOfRowsInSection(TableView&, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath path) override;
    void didSelectRowAtIndexPath(TableView& table, IndexPath path) override;

private:
    std::weak_ptr<ImagePickerController> m_picker;
    std::shared_ptr<TableView> m_table;
    std::vector<std::filesystem::path> m_files;
};

} // namespace ui
