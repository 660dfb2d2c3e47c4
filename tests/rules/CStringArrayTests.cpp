#include "PrintCString.h"
#include "platform/CStringArray.h"

#include <gtest/gtest.h>

namespace
{
TEST(CStringArray, SetAtGrowAtTheSizeAppendsAndBeyondFillsWithEmptyTexts)
{
    CStringArray files;
    files.SetAtGrow(0, L"a");
    files.SetAtGrow(1, L"b");
    files.SetAtGrow(0, L"A");
    ASSERT_EQ(files.GetSize(), 2);
    EXPECT_EQ(files[0], CString(L"A"));
    EXPECT_EQ(files[1], CString(L"b"));

    files.SetAtGrow(3, L"d");
    ASSERT_EQ(files.GetSize(), 4);
    EXPECT_TRUE(files[2].IsEmpty());

    files.SetSize(0);
    EXPECT_TRUE(files.IsEmpty());
}

TEST(CStringArray, AccessOutsideTheBoundsRaisesInvalidArgument)
{
    CStringArray files;
    EXPECT_THROW(files.GetAt(0), CInvalidArgException);
    files.Add(L"only");
    EXPECT_EQ(files.GetAt(0), CString(L"only"));
    EXPECT_THROW(files.GetAt(1), CInvalidArgException);
    EXPECT_THROW(files.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(files.SetAtGrow(-1, L"x"), CInvalidArgException);
}
} // namespace
