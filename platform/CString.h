#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Wide-character text with value semantics (UTF-16 on Windows). Holds every text, path and log of the
// program.
class CString
{
  public:
    CString() = default;
    CString(const wchar_t* text);
    CString(std::wstring text) : m_text(std::move(text)) {}
    // Decodes 8-bit text from the ANSI code page (Latin-1 where the platform has none).
    explicit CString(const char* ansiText);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& Str() const { return m_text; }

    CString& operator+=(const CString& more);
    CString& operator+=(const wchar_t* more);
    CString& operator+=(wchar_t more);
    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend CString operator+(CString left, const wchar_t* right) { return left += right; }
    friend CString operator+(const wchar_t* left, const CString& right) { return CString(left) += right; }
    friend bool operator==(const CString& left, const CString& right) { return left.m_text == right.m_text; }
    friend bool operator==(const CString& left, const wchar_t* right) { return left.m_text == right; }

    // Case-sensitive comparison: <0, 0 or >0 like wcscmp.
    int Compare(const wchar_t* other) const;
    // Comparison that folds A-Z to a-z only, as the C runtime does in the "C" locale.
    int CompareNoCase(const wchar_t* other) const;
    // The last count characters, or the whole text when it is shorter.
    CString Right(int count) const;
    // Skips delimiters from position, returns the run of other characters and moves position one past the
    // character that ended it; at the end returns an empty text and sets position to -1.
    CString Tokenize(const wchar_t* delimiters, int& position) const;

    // printf-style formatting of %s (texts), %d (signed), %lu and %u (unsigned) and %%.
    template <class... Args> void Format(const wchar_t* format, const Args&... args)
    {
        FormatArgs(format, {FormatArg::From(args)...});
    }

    // A writable buffer of at least minLength characters plus a terminator, valid until the next change.
    wchar_t* GetBuffer(int minLength = 0);
    // Ends the buffer's use; -1 takes the text up to its first NUL.
    void ReleaseBuffer(int newLength = -1);

  private:
    struct FormatArg
    {
        enum class Kind
        {
            Text,
            Signed,
            Unsigned
        } kind;
        std::wstring_view text;
        long long signedValue = 0;
        unsigned long long unsignedValue = 0;

        static FormatArg From(const CString& value) { return {Kind::Text, value.m_text}; }
        static FormatArg From(const wchar_t* value) { return {Kind::Text, value ? value : L""}; }
        static FormatArg From(std::signed_integral auto value) { return {Kind::Signed, {}, value}; }
        static FormatArg From(std::unsigned_integral auto value) { return {Kind::Unsigned, {}, 0, value}; }
    };
    void FormatArgs(const wchar_t* format, const std::vector<FormatArg>& args);

    std::wstring m_text;
};
