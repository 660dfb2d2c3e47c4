#include "PrintCString.h"
#include "listfile/ListFileFormat.h"
#include "signing/FileList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<CString> Lines(std::string_view bytes)
{
    const CStringArray lines = ListFileLines(bytes);
    return {lines.begin(), lines.end()};
}

struct LoadCase
{
    const char* name;
    std::string bytes;
    std::vector<CString> lines;
    const wchar_t* listText;
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
    {"UTF-8 bytes", "C:\\\xE6\x97\xA5\xE6\x9C\xAC.exe", {L"C:\\\u65E5\u672C.exe"}, L"C:\\\u65E5\u672C.exe"},
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
    {"invalid UTF-8 is ANSI", "\xE6\xE9 x", {L"\u00E6\u00E9 x"}, L"\u00E6\u00E9 x"},
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
    const wchar_t* listText;
    std::string bytes;
};

const SaveCase kSaveCases[] = {
    {"one CR LF per line break", L"A\r\nB", "A\r\nB"},
    {"empty text, empty file", L"", ""},
    {"a lone LF becomes CR LF", L"A\nB\n", "A\r\nB\r\n"},
    {"a lone CR stays", L"A\rB", "A\rB"},
    {"CR CR LF keeps its first CR", L"A\r\r\nB", "A\r\r\nB"},
    {"ANSI when every character fits", L"C:\\caf\u00E9.exe", "C:\\caf\xE9.exe"},
    {"UTF-8 when one does not", L"C:\\caf\u00E9\\\u65E5.exe", "C:\\caf\xC3\xA9\\\xE6\x97\xA5.exe"},
    {"UTF-8 when the ANSI bytes would read as UTF-8", L"\u00C3\u00A9", "\xC3\x83\xC2\xA9"},
};

TEST(ListFileBytes, StoresOneCrLfPerLineBreakInAnEncodingThatLosesNothing)
{
    for (const SaveCase& c : kSaveCases)
        EXPECT_EQ(ListFileBytes(c.listText), c.bytes) << c.name;
}

TEST(ListFile, SavingAndLoadingAProgramMadeListTextGivesItBack)
{
    const std::vector<const wchar_t*> texts = {
        L"A\r\nB",
        L"C:\\Program Files\\App\\app.exe\r\n C:\\spaced \r\nC:\\a.exe",
        L"C:\\caf\u00E9.exe\r\nD:\\\u65E5\u672C\\x.dll",
        L"\u00C3\u00A9\r\n\u00E6",
        L"A\r\n\r\nB",
    };
    for (const wchar_t* text : texts)
        EXPECT_EQ(JoinFileList(ListFileLines(ListFileBytes(text))), CString(text))
            << ::testing::PrintToString(CString(text));
}
} // namespace
