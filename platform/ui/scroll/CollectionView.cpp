#include "ui/scroll/CollectionView.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace ui {

int CollectionView::numberOfSections()
{
    BASE_ASSERT_MAIN_THREAD();
    auto dataSource = m_dataSource.lock();
    return dataSource ? std::max(0, dataSource->numberOfSectionsInCollectionView(*this)) : 0;
}

int CollectionView::numberOfItemsInSection(int section)
{
    BASE_ASSERT_MAIN_THREAD();
    auto dataSource = m_dataSource.lock();
    if (!dataSource || section < 0 || section >= numberOfSections())
        return 0;
    return std::max(0, dataSource->numberOfItemsInSection(*this, section));
}

} // namespace ui
