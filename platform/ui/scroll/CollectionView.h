// ui::CollectionView: a scroll view of items in sections, as far as the kit needs one: its data source's
// section and item counts. It lays out and shows no items. Main thread; made with std::make_shared.
//
//   if (auto collection = std::dynamic_pointer_cast<ui::CollectionView>(scrollView))
//       total += collection->numberOfItemsInSection(0);
#pragma once

#include "ui/scroll/ScrollView.h"

#include <memory>

namespace ui {

class CollectionView;

class CollectionViewDataSource {
public:
    virtual ~CollectionViewDataSource() = default;
    virtual int numberOfSectionsInCollectionView(CollectionView&) { return 1; }
    virtual int numberOfItemsInSection(CollectionView&, int section) = 0;
};

class CollectionView : public ScrollView {
public:
    using ScrollView::ScrollView;

    std::shared_ptr<CollectionViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource) { m_dataSource = std::move(dataSource); }

    // 0 without a data source; counts below 0 read as 0.
    int numberOfSections();
    int numberOfItemsInSection(int section);

private:
    std::weak_ptr<CollectionViewDataSource> m_dataSource;
};

} // namespace ui
