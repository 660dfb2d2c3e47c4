#include "PrintCString.h"
#include "listfile/Association.h"
#include "listfile/ListFileType.h"
#include "platform/DynamicLayout.h"
#include "signing/FileList.h"
#include "ui/FileDrop.h"
#include "ui/MinimizedIcon.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
TEST(ListFileFromCommandLine, TakesOnlyAFirstArgumentThatEndsInTheExtension)
{
    const struct
    {
        std::vector<const wchar_t*> arguments;
        const wchar_t* listFile;
    } cases[] = {
        {{L"Quorlin.exe"}, L""},
        {{L"Quorlin.exe", L"C:\\lists\\release.ksig"}, L"C:\\lists\\release.ksig"},
        {{L"Quorlin.exe", L"C:\\lists\\RELEASE.KSIG"}, L"C:\\lists\\RELEASE.KSIG"},
        {{L"Quorlin.exe", L"C:\\lists\\Release.KsIg"}, L"C:\\lists\\Release.KsIg"},
        {{L"Quorlin.exe", L".ksig"}, L".ksig"},
        {{L"Quorlin.exe", L"ksig"}, L""},
        {{L"Quorlin.exe", L"C:\\a.ksig.txt"}, L""},
        {{L"Quorlin.exe", L"C:\\lists\\old-ksig"}, L""},
        {{L"Quorlin.exe", L"/RestartByRestartManager", L"C:\\b.ksig"}, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListFileFromCommandLine(static_cast<int>(c.arguments.size()), c.arguments.data()),
                  CString(c.listFile))
            << c.arguments.size() << " arguments";
}

TEST(OpenCommandFor, QuotesTheProgramAndThePlaceholder)
{
    EXPECT_EQ(OpenCommandFor(L"C:\\Program Files\\Quorlin\\Quorlin.exe"),
              CString(L"\"C:\\Program Files\\Quorlin\\Quorlin.exe\" \"%1\""));
}

TEST(AssociationChanges, OnlyWhenAValueIsMissingOrHoldsOtherText)
{
    const CString command = L"\"C:\\Tools\\Quorlin.exe\" \"%1\"";
    const struct
    {
        const char* name;
        ListFileAssociation current;
        bool changes;
    } cases[] = {
        {"both in place", {CString(L"Quorlin.sigfile"), command}, false},
        {"nothing registered yet", {std::nullopt, std::nullopt}, true},
        {"the extension belongs to another program", {CString(L"Other.list"), command}, true},
        {"the ProgID's command is missing", {CString(L"Quorlin.sigfile"), std::nullopt}, true},
        {"the program has moved",
         {CString(L"Quorlin.sigfile"), CString(L"\"D:\\Old\\Quorlin.exe\" \"%1\"")},
         true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AssociationChanges(c.current, command), c.changes) << c.name;
}

TEST(FileDrop, TheFirstListFileWinsOverEveryOtherName)
{
    EXPECT_EQ(FirstListFile({L"x.exe", L"List.KSIG", L"y.dll"}), CString(L"List.KSIG"));
    EXPECT_EQ(FirstListFile({L"one.ksig", L"two.ksig"}), CString(L"one.ksig"));
    EXPECT_EQ(FirstListFile({L"x.exe", L"ksig"}), std::nullopt);
    EXPECT_EQ(FirstListFile({}), std::nullopt);
}

TEST(FileDrop, OtherNamesAreAppendedToTheShownListWhichComesOutPlain)
{
    const struct
    {
        const wchar_t* shownList;
        const wchar_t* runsList; // what a signing run walks, or null when none runs
        std::vector<CString> names;
        std::vector<CString> files;
        const wchar_t* result;
    } cases[] = {
        {L"c.exe", nullptr, {L"a.exe", L"b.exe"}, {L"c.exe", L"a.exe", L"b.exe"}, L"c.exe\r\na.exe\r\nb.exe"},
        {L"", nullptr, {L"a.exe"}, {L"a.exe"}, L"a.exe"},
        {L"A\r\r\n\r\nB\r\n", nullptr, {L"C"}, {L"A", L"B", L"C"}, L"A\r\nB\r\nC"},
        {L"typed.exe\r\none.exe\r\ntwo.exe",
         L"one.exe\r\ntwo.exe",
         {L"d.exe"},
         {L"one.exe", L"two.exe", L"d.exe"},
         L"typed.exe\r\none.exe\r\ntwo.exe\r\nd.exe"},
    };
    for (const auto& c : cases)
    {
        CStringArray files;
        SplitFileList(c.runsList ? c.runsList : L"stale.exe", files);
        EXPECT_EQ(AppendDroppedNames(c.shownList, c.names, files, c.runsList != nullptr), CString(c.result));
        EXPECT_EQ(std::vector<CString>(files.begin(), files.end()), c.files);
    }
}

TEST(FollowDialogSize, MovesEachEdgeByItsShareOfTheRoomAndNeverBelowTheTemplate)
{
    const LayoutRect list{10, 10, 500, 130};
    const ControlAnchor growsAcrossAndHalfDown{1000, 0, 0, 2, 1};
    const struct
    {
        long extraWidth, extraHeight;
        LayoutRect place;
    } cases[] = {
        {0, 0, list},
        {201, 151, {10, 10, 701, 205}},
        {-40, -30, list},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FollowDialogSize(list, growsAcrossAndHalfDown, c.extraWidth, c.extraHeight), c.place)
            << c.extraWidth << " x " << c.extraHeight;
}

TEST(CentredIconOrigin, RoundsHalfAPixelTowardTheLowerRight)
{
    EXPECT_EQ(CentredIconOrigin(36, 36, 32, 32), (IconOrigin{2, 2}));
    EXPECT_EQ(CentredIconOrigin(0, 0, 32, 32), (IconOrigin{-15, -15}));
    EXPECT_EQ(CentredIconOrigin(37, 100, 32, 32), (IconOrigin{3, 34}));
}
} // namespace
