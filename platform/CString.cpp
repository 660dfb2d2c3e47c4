#include "CString.h"

#include "CodePage.h"

#include <algorithm>
#include <cwchar>

CString::CString(const wchar_t* text) : m_text(text ? text : L"") {}

CString::CString(const char* ansiText) : m_text(ansiText ? WideFromAnsi(ansiText) : std::wstring()) {}

CString& CString::operator+=(const CString& more)
{
    m_text += more.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* more)
{
    if (more)
        m_text += more;
    return *this;
}

CString& CString::operator+=(wchar_t more)
{
    m_text += more;
    return *this;
}

int CString::Compare(const wchar_t* other) const
{
    return m_text.compare(other ? other : L"");
}

namespace
{
wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
} // namespace

int CString::CompareNoCase(const wchar_t* other) const
{
    std::wstring_view theirs = other ? other : L"";
    const std::size_t common = std::min(m_text.size(), theirs.size());
    for (std::size_t i = 0; i < common; ++i)
    {
        const wchar_t mine = FoldAscii(m_text[i]);
        const wchar_t their = FoldAscii(theirs[i]);
        if (mine != their)
            return mine < their ? -1 : 1;
    }
    if (m_text.size() == theirs.size())
        return 0;
    return m_text.size() < theirs.size() ? -1 : 1;
}

CString CString::Right(int count) const
{
    if (count <= 0)
        return CString();
    if (count >= GetLength())
        return *this;
    return CString(m_text.substr(m_text.size() - static_cast<std::size_t>(count)));
}

CString CString::Tokenize(const wchar_t* delimiters, int& position) const
{
    const std::wstring_view delims = delimiters ? delimiters : L"";
    if (position >= 0 && position < GetLength())
    {
        const std::size_t start = m_text.find_first_not_of(delims, static_cast<std::size_t>(position));
        if (start != std::wstring::npos)
        {
            std::size_t end = m_text.find_first_of(delims, start);
            if (end == std::wstring::npos)
                end = m_text.size();
            position = static_cast<int>(end) + 1;
            return CString(m_text.substr(start, end - start));
        }
    }
    position = -1;
    return CString();
}

void CString::FormatArgs(const wchar_t* format, const std::vector<FormatArg>& args)
{
    std::wstring out;
    std::size_t next = 0;
    for (const wchar_t* p = format; p && *p; ++p)
    {
        if (*p != L'%')
        {
            out += *p;
            continue;
        }
        const wchar_t* conversion = p + 1;
        while (*conversion == L'l' || *conversion == L'h')
            ++conversion;
        if (*conversion == L'%')
        {
            out += L'%';
            p = conversion;
            continue;
        }
        if (*conversion != L's' && *conversion != L'd' && *conversion != L'i' && *conversion != L'u')
        {
            out += *p; // not a conversion this class knows: kept as written
            continue;
        }
        p = conversion;
        if (next >= args.size())
            continue;
        const FormatArg& arg = args[next++];
        switch (arg.kind)
        {
        case FormatArg::Kind::Text:
            out += arg.text;
            break;
        case FormatArg::Kind::Signed:
            out += (*conversion == L'u') ? std::to_wstring(static_cast<unsigned long long>(arg.signedValue))
                                         : std::to_wstring(arg.signedValue);
            break;
        case FormatArg::Kind::Unsigned:
            out += (*conversion == L'u') ? std::to_wstring(arg.unsignedValue)
                                         : std::to_wstring(static_cast<long long>(arg.unsignedValue));
            break;
        }
    }
    m_text = std::move(out);
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<std::size_t>(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::wcslen(m_text.c_str()));
    m_text.resize(std::min(static_cast<std::size_t>(newLength), m_text.size()));
}
