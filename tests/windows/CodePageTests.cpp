#include "PrintCString.h"
#include "signing/ToolProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace
{
TEST(ToolOutput, DecodesTheWholeStreamInTheGivenCodePage)
{
    const struct
    {
        unsigned codePage;
        std::string bytes;
        CString text;
    } cases[] = {
        {1252, "Zertifikat \x80 ok", L"Zertifikat \u20AC ok"},
        {65001, "caf\xC3\xA9", L"caf\u00E9"},
        {65001, std::string("a\0b\xC3\0\xA9", 6), L"ab\u00E9"},
        {932, "\x82\xA0\x82\xA2", L"\u3042\u3044"},
        {1252, std::string(3, '\0'), L""},
        {65001, "lone \x81 trail", L"lone \uFFFD trail"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeToolOutput(c.bytes, c.codePage), c.text) << "code page " << c.codePage;
    // MultiByteToWideChar's documentation says only that a sequence cut off at the end is not dropped: how
    // many U+FFFD stand for it is the system's own.
    const std::wstring cut = DecodeToolOutput("cut \xE3\x81", 65001).Str();
    EXPECT_TRUE(cut.size() > 4 && cut.starts_with(L"cut ") &&
                cut.find_first_not_of(L'\uFFFD', 4) == std::wstring::npos)
        << ::testing::PrintToString(CString(cut));
}

TEST(CString, EightBitTextIsReadInTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the expected text is written for code page 1252; this system uses " << GetACP();
    EXPECT_EQ(CString("\x80 \xE9"), CString(L"\u20AC \u00E9"));
}
} // namespace
