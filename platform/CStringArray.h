#pragma once

#include "CString.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

// Raised by an element access outside the bounds of an array.
class CInvalidArgException : public std::invalid_argument
{
  public:
    CInvalidArgException() : std::invalid_argument("index out of range") {}
};

// An ordered, growable array of CString; the file list.
class CStringArray
{
  public:
    std::ptrdiff_t GetSize() const { return static_cast<std::ptrdiff_t>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    // Shrinks or grows to size elements; new elements are empty texts.
    void SetSize(std::ptrdiff_t size);
    // Stores text at index, growing the array with empty texts up to it; an index equal to the size appends.
    void SetAtGrow(std::ptrdiff_t index, const CString& text);
    std::ptrdiff_t Add(const CString& text);
    // Element access; an index outside 0..size-1 raises CInvalidArgException.
    const CString& GetAt(std::ptrdiff_t index) const;
    const CString& operator[](std::ptrdiff_t index) const { return GetAt(index); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

  private:
    std::vector<CString> m_items;
};
