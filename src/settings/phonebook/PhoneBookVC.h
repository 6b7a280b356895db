// settings::PhoneBookVC: the current watch's phone book: ten rows of a contact each (a round head photo kept
// on the phone, the name, the number on the right). It loads the book ("LumetGetPhoneBook_V2") when its view
// loads and again on a pull-down refresh; a tapped row opens the entry editor (EditPhoneBookVC), and every
// entry the editor hands back is sent with the whole book ("LumetSetPhoneBook_V2"), the outcome told in an
// alert.
//
// A reply without a payload is a failed load, said with the short failure notice as a failed call is: the
// rows keep what they showed, and until a book has been loaded the failure stays said in place of the rows
// and no save is sent (the watch's book would be overwritten with blanks); the editor then stays open and
// the alert says the setting failed. A refused or
// failed save keeps the edited entry on screen, and it goes out again with the next save. Main thread; made
// with make().
//
//   auto book = settings::PhoneBookVC::make();
//   drawer->setCenterViewControllerWithCloseAnimation(shell::NavViewController::withRootViewController(book), true);
#pragma once

#include "settings/phonebook/EditPhoneBookVCDelegate.h"
#include "ui/scroll/TableViewDataSource.h"
#include "ui/controllers/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kit {
class LoadFailureLine;
class RefreshBaseView;
}
namespace ui {
class TableView;
}

namespace settings {

class EditPhoneBookVC;

class PhoneBookVC : public ui::ViewController,
                    public ui::TableViewDataSource,
                    public ui::TableViewDelegate,
                    public EditPhoneBookVCDelegate {
public:
    static constexpr int Rows = 10;
    static constexpr double RowHeight = 70;
    static constexpr double HeadSize = 50;
    static constexpr const char* CellIdentifier = "PhoneBookCell";
    static constexpr const char* RefreshDateKey = "table";

    static std::shared_ptr<PhoneBookVC> make();

    const std::shared_ptr<ui::TableView>& tableView();
    const std::shared_ptr<EditPhoneBookVC>& editor();
    const std::vector<std::string>& phoneNumbers() const { return m_phoneNumbers; }
    const std::vector<std::string>& phoneNames() const { return m_phoneNames; }
    // Whether a book has come from the watch: only then is a save sent.
    bool isLoaded() const { return m_loaded; }
    // Whether a load has not been answered yet.
    bool isLoading() const { return m_loadsUnderWay > 0; }

    void getPhoneBook();
    // Takes in the reply text of a load.
    void bookArrived(const std::string& reply);
    // The refresh header's action.
    void headerRereshing(kit::RefreshBaseView& header);
    bool saveEdit(const std::string& name, const std::string& phone, int64_t index) override;

    void loadView() override;
    void viewDidLoad() override;

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

private:
    void setupRefresh();
    void setupLeftMenuButton();
    void loadEnded();
    void sendBook();
    void saveAnswered(bool accepted);

    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<kit::LoadFailureLine> m_failureLine;
    std::shared_ptr<EditPhoneBookVC> m_editor;
    std::vector<std::string> m_phoneNumbers;
    std::vector<std::string> m_phoneNames;
    bool m_loaded { false };
    int m_loadsUnderWay { 0 };
};

} // namespace settings
