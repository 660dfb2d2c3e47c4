#include "PrintCString.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct TokenizeCase
{
    const wchar_t* text;
    int start;
    std::vector<std::pair<CString, int>> steps; // each token with the position after it
};

const TokenizeCase kTokenizeCases[] = {
    {L"", 0, {{L"", -1}}},
    {L"ab", 0, {{L"ab", 3}, {L"", -1}}},
    {L"\r\nab\r\ncd", 0, {{L"ab", 5}, {L"cd", 9}, {L"", -1}}},
    {L"ab\r\n", 0, {{L"ab", 3}, {L"", -1}}},
    {L"ab\n\n\n", 0, {{L"ab", 3}, {L"", -1}}},
    {L"ab", 2, {{L"", -1}}},
    {L"ab", 7, {{L"", -1}}},
    {L"ab", -1, {{L"", -1}}},
    {L"xab", 1, {{L"ab", 4}}},
};

TEST(CString, TokenizeSkipsDelimitersAndReportsThePositionAfterEachToken)
{
    for (const TokenizeCase& c : kTokenizeCases)
    {
        const CString text = c.text;
        int position = c.start;
        for (const auto& [token, after] : c.steps)
        {
            EXPECT_EQ(text.Tokenize(L"\r\n", position), token) << "text " << ::testing::PrintToString(text);
            EXPECT_EQ(position, after) << "text " << ::testing::PrintToString(text);
        }
    }
}

TEST(CString, RightGivesTheLastCharactersOrTheWholeText)
{
    const CString path = L"C:\\tools\\signtool.EXE";
    EXPECT_EQ(path.Right(4), CString(L".EXE"));
    EXPECT_EQ(CString(L"exe").Right(4), CString(L"exe"));
    EXPECT_EQ(path.Right(0), CString(L""));
    EXPECT_EQ(CString(L"").Right(4), CString(L""));
}

TEST(CString, CompareNoCaseFoldsOnlyAsciiLetters)
{
    const struct
    {
        const wchar_t* left;
        const wchar_t* right;
        int sign;
    } cases[] = {
        {L".EXE", L".exe", 0}, {L".Exe", L".exe", 0}, {L".ksig", L".KSIG", 0},    {L".exf", L".exe", 1},
        {L".ex", L".exe", -1}, {L"", L"", 0},         {L"\u00C9", L"\u00E9", -1},
    };
    for (const auto& c : cases)
    {
        const int result = CString(c.left).CompareNoCase(c.right);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << ::testing::PrintToString(CString(c.left));
    }
    EXPECT_NE(CString(L"A").Compare(L"a"), 0);
    EXPECT_EQ(CString(L"a").Compare(L"a"), 0);
}

TEST(CString, FormatFillsTextsAndNumbers)
{
    CString text;
    text.Format(L"Failed to execute signtool.exe. Error code: %lu", 4294967295UL);
    EXPECT_EQ(text, CString(L"Failed to execute signtool.exe. Error code: 4294967295"));
    text.Format(L"Failed to save the file. Error code: %d", -13);
    EXPECT_EQ(text, CString(L"Failed to save the file. Error code: -13"));
    text.Format(L"\"%s\" \"%%1\"", CString(L"C:\\Quorlin.exe"));
    EXPECT_EQ(text, CString(L"\"C:\\Quorlin.exe\" \"%1\""));
    text.Format(L"%s|%s", L"a", CString(L"100%d"));
    EXPECT_EQ(text, CString(L"a|100%d")) << "a placeholder inside an argument is not expanded";
}

TEST(CString, GetBufferIsWritableAndReleaseBufferCutsAtTheFirstNul)
{
    CString text = L"abc";
    wchar_t* buffer = text.GetBuffer(10);
    buffer[1] = L'X';
    buffer[5] = L'Y';
    text.ReleaseBuffer();
    EXPECT_EQ(text, CString(L"aXc"));

    buffer = text.GetBuffer();
    buffer[0] = L'\0';
    text.ReleaseBuffer(2);
    EXPECT_EQ(text.GetLength(), 2);
}

TEST(CString, AsciiFromEightBitTextIsTheSameText)
{
    EXPECT_EQ(CString("C:\\a b\\c.exe"), CString(L"C:\\a b\\c.exe"));
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}
} // namespace
