// The page items in the order they were added; the list owns them.
#pragma once

#include <memory>
#include <vector>

#include "plintor/win/CConfigPageItem.h"

class CConfigPages {
public:
    CConfigPageItem* Add(std::unique_ptr<CConfigPageItem> item)
    {
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Null outside 0 .. count - 1.
    CConfigPageItem* GetAt(int index) const
    {
        return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].get() : nullptr;
    }

private:
    std::vector<std::unique_ptr<CConfigPageItem>> m_items;
};
