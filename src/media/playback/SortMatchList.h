// Orders registry candidates by ascending count, so that the media types few registered filters
// accept are tried first: each position in turn takes the smallest count among it and the later
// items (the first of equal ones), by a swap.
#pragma once

#include <cstddef>

template <class List>
void SortMatchList(List& list)
{
    for (ptrdiff_t i = 0; i < list.GetSize(); ++i) {
        ptrdiff_t smallest = i;
        for (ptrdiff_t j = i + 1; j < list.GetSize(); ++j) {
            if (list[j].m_count < list[smallest].m_count)
                smallest = j;
        }
        if (smallest != i) {
            // By copies: the items' COM pointers need not be movable.
            const auto item = list[i];
            list[i] = list[smallest];
            list[smallest] = item;
        }
    }
}
