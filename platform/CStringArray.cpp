#include "CStringArray.h"

void CStringArray::SetSize(std::ptrdiff_t size)
{
    if (size < 0)
        throw CInvalidArgException();
    m_items.resize(static_cast<std::size_t>(size));
}

void CStringArray::SetAtGrow(std::ptrdiff_t index, const CString& text)
{
    if (index < 0)
        throw CInvalidArgException();
    if (index >= GetSize())
        m_items.resize(static_cast<std::size_t>(index) + 1);
    m_items[static_cast<std::size_t>(index)] = text;
}

std::ptrdiff_t CStringArray::Add(const CString& text)
{
    m_items.push_back(text);
    return GetSize() - 1;
}

const CString& CStringArray::GetAt(std::ptrdiff_t index) const
{
    if (index < 0 || index >= GetSize())
        throw CInvalidArgException();
    return m_items[static_cast<std::size_t>(index)];
}
