// The framework's arrays of pointers: CPtrArray holds void pointers,
// CTypedPtrArray<CPtrArray, T*> the same with the element type kept. An index
// out of range reads as null and is ignored on writes and removals.
#pragma once

#include "win32/windows.h"

#include <algorithm>
#include <cstddef>
#include <vector>

class CPtrArray {
  public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }
    // Grows with nulls or cuts to the size.
    void SetSize(INT_PTR size) { m_data.resize(size < 0 ? 0 : static_cast<size_t>(size), nullptr); }

    void* GetAt(INT_PTR index) const { return valid(index) ? m_data[at(index)] : nullptr; }
    void SetAt(INT_PTR index, void* element) {
        if (valid(index)) {
            m_data[at(index)] = element;
        }
    }
    void SetAtGrow(INT_PTR index, void* element) {
        if (index < 0) {
            return;
        }
        if (index >= GetSize()) {
            SetSize(index + 1);
        }
        m_data[at(index)] = element;
    }
    void* operator[](INT_PTR index) const { return GetAt(index); }
    // The index of the added element.
    INT_PTR Add(void* element) {
        m_data.push_back(element);
        return GetUpperBound();
    }
    // Inserts count copies before index; an index past the end appends.
    void InsertAt(INT_PTR index, void* element, INT_PTR count = 1) {
        if (index < 0 || count <= 0) {
            return;
        }
        size_t where = index > GetSize() ? m_data.size() : at(index);
        m_data.insert(m_data.begin() + static_cast<std::ptrdiff_t>(where), at(count), element);
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1) {
        if (!valid(index) || count <= 0) {
            return;
        }
        size_t last = std::min(m_data.size(), at(index) + at(count));
        m_data.erase(m_data.begin() + static_cast<std::ptrdiff_t>(index),
                     m_data.begin() + static_cast<std::ptrdiff_t>(last));
    }
    void RemoveAll() { m_data.clear(); }

  private:
    bool valid(INT_PTR index) const { return index >= 0 && index < GetSize(); }
    static size_t at(INT_PTR index) { return static_cast<size_t>(index); }

    std::vector<void*> m_data;
};

template <class BASE, class TYPE>
class CTypedPtrArray : public BASE {
  public:
    TYPE GetAt(INT_PTR index) const { return static_cast<TYPE>(BASE::GetAt(index)); }
    TYPE operator[](INT_PTR index) const { return GetAt(index); }
    void SetAt(INT_PTR index, TYPE element) { BASE::SetAt(index, element); }
    void SetAtGrow(INT_PTR index, TYPE element) { BASE::SetAtGrow(index, element); }
    INT_PTR Add(TYPE element) { return BASE::Add(element); }
    void InsertAt(INT_PTR index, TYPE element, INT_PTR count = 1) {
        BASE::InsertAt(index, element, count);
    }
};
