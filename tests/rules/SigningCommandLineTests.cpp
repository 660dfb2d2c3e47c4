#include "PrintCString.h"
#include "signing/SigningCommandLine.h"

#include <gtest/gtest.h>

namespace
{
TEST(SigningCommandLine, IsExactlyTheFixedCommandForOrdinaryPaths)
{
    EXPECT_EQ(BuildSigningCommandLine(L"C:\\Program Files (x86)\\Windows Kits\\10\\bin\\x64\\signtool.exe",
                                      L"C:\\My Build\\app.exe"),
              CString(L"\"C:\\Program Files (x86)\\Windows Kits\\10\\bin\\x64\\signtool.exe\" sign /tr "
                      L"http://timestamp.sectigo.com /td sha256 /fd sha256 /a \"C:\\My Build\\app.exe\""));
    EXPECT_EQ(BuildSigningCommandLine(L"s.exe", L""),
              CString(L"\"s.exe\" sign /tr http://timestamp.sectigo.com /td sha256 /fd sha256 /a \"\""));
}

struct QuoteCase
{
    const wchar_t* argument;
    const wchar_t* quoted;
};

const QuoteCase kQuoteCases[] = {
    {L"C:\\a b\\c.exe", L"\"C:\\a b\\c.exe\""},
    {L"\\\\server\\share\\x.dll", L"\"\\\\server\\share\\x.dll\""},
    {L"C:\\dir\\", L"\"C:\\dir\\\\\""},
    {L"C:\\dir\\\\", L"\"C:\\dir\\\\\\\\\""},
    {L"a\"b", L"\"a\\\"b\""},
    {L"a\\\"b", L"\"a\\\\\\\"b\""},
    {L"x\" /y \"z", L"\"x\\\" /y \\\"z\""},
    {L"", L"\"\""},
};

TEST(LooksLikeAnOption, OnlyAPathThatBeginsWithASlashOrADash)
{
    const struct
    {
        const wchar_t* filePath;
        bool option;
    } cases[] = {
        {L"/builds/app.exe", true},    {L"-draft.exe", true},   {L"C:\\a.exe", false},
        {L"\\\\server\\x.dll", false}, {L"app-1.0.exe", false}, {L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LooksLikeAnOption(c.filePath), c.option) << ::testing::PrintToString(CString(c.filePath));
}

TEST(SigningCommandLine, QuotesByTheWindowsArgumentRules)
{
    for (const QuoteCase& c : kQuoteCases)
        EXPECT_EQ(QuoteArgument(c.argument), CString(c.quoted))
            << ::testing::PrintToString(CString(c.argument));
}
} // namespace
