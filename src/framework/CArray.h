// A growable array with the index-based interface of the programs' user-interface code.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = delete; // the programs keep arrays in place and pass them by reference
    CArray& operator=(const CArray&) = delete;

    ptrdiff_t GetSize() const { return static_cast<ptrdiff_t>(m_items.size()); }
    ptrdiff_t GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    ptrdiff_t GetUpperBound() const { return GetSize() - 1; }

    // New elements are value-initialised; growBy is accepted for the callers' sake, the
    // storage grows geometrically in any case.
    void SetSize(ptrdiff_t newSize, ptrdiff_t growBy = -1)
    {
        (void)growBy;
        m_items.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0);
    }

    ptrdiff_t Add(ARG_TYPE element)
    {
        m_items.push_back(element);
        return GetSize() - 1;
    }

    // An index outside the array is a caller's fault: it aborts rather than touching memory
    // that is not the array's.
    TYPE& ElementAt(ptrdiff_t index) { return m_items[Checked(index)]; }
    const TYPE& GetAt(ptrdiff_t index) const { return m_items[Checked(index)]; }
    void SetAt(ptrdiff_t index, ARG_TYPE element) { m_items[Checked(index)] = element; }
    TYPE& operator[](ptrdiff_t index) { return ElementAt(index); }
    const TYPE& operator[](ptrdiff_t index) const { return GetAt(index); }

    TYPE* GetData() { return m_items.empty() ? nullptr : m_items.data(); }
    const TYPE* GetData() const { return m_items.empty() ? nullptr : m_items.data(); }

    // Inserting beyond the end first grows the array to index.
    void InsertAt(ptrdiff_t index, ARG_TYPE element, ptrdiff_t count = 1)
    {
        if (index < 0 || count <= 0)
            std::abort();
        TYPE copy(element); // element may live inside this array
        if (index >= GetSize())
            SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy);
    }

    void RemoveAt(ptrdiff_t index, ptrdiff_t count = 1)
    {
        if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index)
            std::abort();
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

    void RemoveAll() { m_items.clear(); }

private:
    size_t Checked(ptrdiff_t index) const
    {
        if (index < 0 || index >= GetSize())
            std::abort();
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> m_items;
};
