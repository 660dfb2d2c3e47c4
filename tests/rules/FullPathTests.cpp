#include "PrintCString.h"
#include "platform/FullPath.h"

#include <gtest/gtest.h>

namespace
{
TEST(ExtendedLengthPath, PrefixesDrivePathsAndRewritesSharesOnceButLeavesPathsThatAreNotWhole)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* extended;
    } cases[] = {
        {L"C:\\Lists\\~quorlin.tmp", L"\\\\?\\C:\\Lists\\~quorlin.tmp"},
        {L"\\\\server\\share\\~quorlin.tmp", L"\\\\?\\UNC\\server\\share\\~quorlin.tmp"},
        {L"\\\\?\\C:\\Lists\\~quorlin.tmp", L"\\\\?\\C:\\Lists\\~quorlin.tmp"},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {L"~quorlin.tmp", L"~quorlin.tmp"},
        {L"Lists\\~quorlin.tmp", L"Lists\\~quorlin.tmp"},
        {L"\\Lists\\~quorlin.tmp", L"\\Lists\\~quorlin.tmp"},
        {L"C:~quorlin.tmp", L"C:~quorlin.tmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtendedLengthPath(c.path), CString(c.extended))
            << ::testing::PrintToString(CString(c.path));
}
} // namespace
