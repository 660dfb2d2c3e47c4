#include "PrintCString.h"
#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

namespace
{
TEST(WindowPlacement, TheProfileTextGivesBackThePlacementAndAnythingElseGivesNone)
{
    const SavedPlacement placements[] = {{120, 80, 900, 700, 96, false}, {-1800, -8, -200, 1000, 144, true}};
    for (const SavedPlacement& placement : placements)
        EXPECT_EQ(PlacementFromText(PlacementText(placement)), placement)
            << testing::PrintToString(CString(PlacementText(placement)));
    EXPECT_EQ(PlacementText(placements[0]), L"120,80,900,700,96,normal");

    for (const wchar_t* spoilt :
         {L"", L"120,80,900,700,96", L"120,80,900,700,96,minimized", L"120,80,900,700,96,normal,1",
          L"120,80,,700,96,normal", L"120,80,9x0,700,96,normal", L"900,80,120,700,96,normal",
          L"120,700,900,80,96,normal", L"120,80,900,700,0,normal", L"120,80,900,99999999,96,normal",
          L"120,80,900,700,-96,normal"})
        EXPECT_EQ(PlacementFromText(spoilt), std::nullopt) << testing::PrintToString(CString(spoilt));
}
} // namespace
