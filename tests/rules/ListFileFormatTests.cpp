#include "PrintCString.h"
#include "listfile/ListFileFormat.h"
#include "platform/CodePage.h"
#include "signing/FileList.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{
std::vector<CString> Lines(std::string_view bytes)
{
    const CStringArray lines = ListFileLines(bytes);
    return {lines.begin(), lines.end()};
}

// UTF-16 behind its byte-order mark, as Windows PowerShell and Notepad write it.
std::string Utf16(std::u16string_view units, bool bigEndian = false)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units)
    {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

const std::wstring kLoneSurrogate(1, static_cast<wchar_t>(0xD800));

struct LoadCase
{
    const char* name;
    std::string bytes;
    std::vector<CString> lines;
    std::wstring listText;
};

const LoadCase kLoadCases[] = {
    {"empty file", "", {}, L""},
    {"leading and inner empty lines", "\n\nA\n\nB", {L"", L"", L"A", L"", L"B"}, L"A\r\n\r\nB"},
    {"an empty last line", "A\n\n", {L"A", L""}, L"A\r\n"},
    {"CR LF line ends", "A\r\nB\r\n", {L"A", L"B"}, L"A\r\nB"},
    {"CR CR LF from earlier versions", "A\r\r\nB", {L"A\r", L"B"}, L"A\r\r\nB"},
    {"a lone CR stays in its line", "A\rB\n", {L"A\rB"}, L"A\rB"},
    {"a CR at the very end stays", "A\r", {L"A\r"}, L"A\r"},
    {"Ctrl+Z ends the input",
     "A\nBC\x1A"
     "D\nE",
     {L"A", L"BC"},
     L"A\r\nBC"},
    {"ANSI bytes", "C:\\caf\xE9.exe", {L"C:\\caf\u00E9.exe"}, L"C:\\caf\u00E9.exe"},
    {"UTF-8 with a byte-order mark",
     "\xEF\xBB\xBF"
     "A\r\nB",
     {L"A", L"B"},
     L"A\r\nB"},
    {"NUL bytes are dropped on their own",
     std::string("C:\\a\0.exe\n\0\0B", 13),
     {L"C:\\a.exe", L"B"},
     L"C:\\a.exe\r\nB"},
    {"CR-only line breaks stay inside one line", "A\rB\rC", {L"A\rB\rC"}, L"A\rB\rC"},
    {"only the first Ctrl+Z counts",
     "A\nB\x1A"
     "C\x1A"
     "D",
     {L"A", L"B"},
     L"A\r\nB"},
    {"UTF-16 LE, as Windows PowerShell writes dir -Name > files.ksig",
     Utf16(u"C:\\dist\\app.exe\r\nC:\\dist\\\u0142\u00F3d\u017A.dll\r\n"),
     {L"C:\\dist\\app.exe", L"C:\\dist\\\u0142\u00F3d\u017A.dll"},
     L"C:\\dist\\app.exe\r\nC:\\dist\\\u0142\u00F3d\u017A.dll"},
    {"UTF-16 BE", Utf16(u"A\nB", true), {L"A", L"B"}, L"A\r\nB"},
    {"a UTF-16 character with a byte 0x1A", Utf16(u"\u011A.exe"), {L"\u011A.exe"}, L"\u011A.exe"},
    {"a character beyond the BMP in UTF-16", Utf16(u"\U0001F600"), {L"\U0001F600"}, L"\U0001F600"},
    {"Ctrl+Z ends UTF-16 input",
     Utf16(u"A\nB\x1A"
           u"C"),
     {L"A", L"B"},
     L"A\r\nB"},
    {"a UTF-16 NUL is dropped", Utf16(std::u16string(u"A\0B", 3)), {L"AB"}, L"AB"},
    {"only the byte-order mark", Utf16(u""), {}, L""},
    {"an odd last byte is no character", Utf16(u"A") + "B", {L"A"}, L"A"},
    {"a lone surrogate stays", Utf16(u"\xD800.exe"), {kLoneSurrogate + L".exe"}, kLoneSurrogate + L".exe"},
};

TEST(ListFileLines, ReadsLinesAsTextModeDoes)
{
    for (const LoadCase& c : kLoadCases)
    {
        EXPECT_EQ(Lines(c.bytes), c.lines) << c.name;
        EXPECT_EQ(JoinFileList(ListFileLines(c.bytes)), CString(c.listText)) << c.name;
    }
}

struct SaveCase
{
    const char* name;
    std::wstring listText;
    std::optional<std::string> bytes;
};

const SaveCase kSaveCases[] = {
    {"one CR LF per line break", L"A\r\nB", "A\r\nB"},
    {"empty text, empty file", L"", ""},
    {"a lone LF becomes CR LF", L"A\nB\n", "A\r\nB\r\n"},
    {"a lone CR stays", L"A\rB", "A\rB"},
    {"CR CR LF keeps its first CR", L"A\r\r\nB", "A\r\r\nB"},
    {"ANSI when every character fits", L"C:\\caf\u00E9.exe", "C:\\caf\xE9.exe"},
    {"ANSI up to U+00FF", L"C:\\\u00FF.exe", "C:\\\xFF.exe"},
    {"UTF-8 when one does not", L"C:\\caf\u00E9\\\u65E5.exe", "C:\\caf\xC3\xA9\\\xE6\x97\xA5.exe"},
    {"UTF-8 when the ANSI bytes would read as UTF-8", L"\u00C3\u00A9", "\xC3\x83\xC2\xA9"},
    {"UTF-8 when the ANSI bytes would read as UTF-16", L"\u00FF\u00FEA",
     "\xC3\xBF\xC3\xBE"
     "A"},
    {"no bytes read back past a Ctrl+Z",
     L"A\x1A"
     L"B",
     std::nullopt},
    {"no bytes give back a lone surrogate", L"C:\\" + kLoneSurrogate + L".exe", std::nullopt},
};

TEST(ListFileBytes, StoresOneCrLfPerLineBreakInAnEncodingThatLosesNothing)
{
    for (const SaveCase& c : kSaveCases)
        EXPECT_EQ(ListFileBytes(CString(c.listText)), c.bytes) << c.name;
}

TEST(ListFile, SavingAndLoadingAProgramMadeListTextGivesItBack)
{
    const std::vector<const wchar_t*> texts = {
        L"A\r\nB",
        L"C:\\Program Files\\App\\app.exe\r\n C:\\spaced \r\nC:\\a.exe",
        L"C:\\caf\u00E9.exe\r\nD:\\\u65E5\u672C\\x.dll",
        L"\u00C3\u00A9\r\n\u00E6",
        L"A\r\n\r\nB",
        L"\uFEFFC:\\a.exe\r\nB",
    };
    for (const wchar_t* text : texts)
        EXPECT_EQ(JoinFileList(ListFileLines(ListFileBytes(text).value())), CString(text))
            << ::testing::PrintToString(CString(text));
}

// A path at each boundary of UTF-8's forms and of UTF-16's surrogate pairs goes into a list file as UTF-8 and
// comes back whole; bytes that are not UTF-8 are read in the ANSI code page. A character that the ANSI code
// page holds goes in ANSI instead: Windows' code page 1252 holds none of these above U+007F, while Latin-1,
// the stand-in where the platform has no ANSI code page, holds U+0080.
TEST(ListFile, EachUnicodeBoundaryTravelsInUtf8AndWhatIsNotUtf8ReadsAsAnsi)
{
    const struct
    {
        const char* name;
        std::wstring path;
        std::string bytes;
        std::wstring readBack;
    } saved[] = {
        {"U+007F", L"\u007F", "\x7F", L"\u007F"},
        {"U+0080", L"\u0080", "\xC2\x80", L"\u0080"},
        {"U+07FF", L"\u07FF", "\xDF\xBF", L"\u07FF"},
        {"U+0800", L"\u0800", "\xE0\xA0\x80", L"\u0800"},
        {"U+FFFF", L"\uFFFF", "\xEF\xBF\xBF", L"\uFFFF"},
        {"U+10000", L"\U00010000", "\xF0\x90\x80\x80", L"\U00010000"},
        {"U+10FFFF", L"\U0010FFFF", "\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const auto& c : saved)
    {
        if (AnsiFromWide(c.path))
            continue;
        const std::string bytes = ListFileBytes(L"C:\\" + c.path + L".exe").value();
        EXPECT_EQ(bytes, "C:\\" + c.bytes + ".exe") << c.name;
        EXPECT_EQ(JoinFileList(ListFileLines(bytes)), CString(L"C:\\" + c.readBack + L".exe")) << c.name;
    }
    for (const std::string notUtf8 : {"\x80", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
    {
        const std::string bytes = "C:\\" + notUtf8 + ".exe";
        EXPECT_EQ(JoinFileList(ListFileLines(bytes)), CString(WideFromAnsi(bytes)))
            << ::testing::PrintToString(bytes);
    }
}
} // namespace
