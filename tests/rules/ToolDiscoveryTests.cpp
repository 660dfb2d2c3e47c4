#include "PrintCString.h"
#include "platform/RegistryText.h"
#include "toolpath/ToolDiscovery.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
const CString kSdkCandidate = L"D:\\Kits\\10\\bin\\x64\\signtool.exe";
// Written out, not taken from the product's constant, so that a change to it shows here.
const std::wstring kSdkDefault =
    L"C:\\Program Files (x86)\\Windows Kits\\10\\bin\\10.0.22621.0\\x64\\signtool.exe";

class FakeSystem : public ToolLocationSystem
{
  public:
    std::optional<CString> stored;
    std::set<std::wstring> existing;
    std::optional<CString> sdkRoot;
    std::optional<CString> sdkRoot32;
    std::vector<std::wstring> writes;
    int sdkReads = 0;

    CString ReadProfile(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) override
    {
        EXPECT_STREQ(section, L"Settings");
        EXPECT_STREQ(entry, L"SigntoolPath");
        return stored ? *stored : CString(defaultValue);
    }
    void WriteProfile(const wchar_t* section, const wchar_t* entry, const CString& value) override
    {
        writes.push_back(std::wstring(section) + L"\\" + entry + L"=" + value.Str());
        stored = value;
    }
    bool FileExists(const CString& path) override { return existing.count(path.Str()) > 0; }
    std::optional<CString> ReadSdkRoot(RegistryView view) override
    {
        ++sdkReads;
        return view == RegistryView::Bits64 ? sdkRoot : sdkRoot32;
    }
    std::vector<CString> FolderNames(const CString& folder) override
    {
        const auto found = folders.find(folder.Str());
        return found == folders.end() ? std::vector<CString>{} : found->second;
    }
    std::map<std::wstring, std::vector<CString>> folders;
};

struct DiscoveryCase
{
    const char* name;
    std::optional<CString> stored;
    bool defaultExists;
    std::optional<CString> sdkRoot;
    bool candidateExists;
    CString toolPath;
    // How many views of the registry were asked for the SDK root.
    int sdkReads;
    // The folders in D:\Kits\10\bin, and those of them whose x64 folder holds the tool.
    std::vector<CString> binFolders = {};
    std::vector<std::wstring> versionsWithTheTool = {};
    // The SDK root in the 32-bit view of the registry.
    std::optional<CString> sdkRoot32 = std::nullopt;
};

std::wstring VersionedTool(const std::wstring& version)
{
    return L"D:\\Kits\\10\\bin\\" + version + L"\\x64\\signtool.exe";
}

TEST(FindSigningTool, FollowsTheOutcomeTable)
{
    const DiscoveryCase cases[] = {
        {"stored path, even one that no longer exists", CString(L"E:\\old\\signtool.exe"), true,
         CString(L"D:\\Kits\\10"), true, L"E:\\old\\signtool.exe", 0},
        {"stored not-found marker", CString(L"signtool.exe not found"), true, CString(L"D:\\Kits\\10"), true,
         L"", 0},
        {"nothing stored, default location exists", std::nullopt, true, CString(L"D:\\Kits\\10"), true,
         kSdkDefault, 0},
        {"empty entry, default location exists", CString(L""), true, std::nullopt, false, kSdkDefault, 0},
        {"nothing stored, no default, no SDK root in either view", std::nullopt, false, std::nullopt, true,
         L"", 2},
        {"nothing stored, no default, SDK root with the tool", std::nullopt, false, CString(L"D:\\Kits\\10"),
         true, kSdkCandidate, 1},
        {"nothing stored, no default, SDK root without the tool", std::nullopt, false,
         CString(L"D:\\Kits\\10"), false, L"", 2},
        {"the root's own tool before any version's",
         std::nullopt,
         false,
         CString(L"D:\\Kits\\10"),
         true,
         kSdkCandidate,
         1,
         {L"10.0.26100.0"},
         {L"10.0.26100.0"}},
        {"the newest version, compared as numbers",
         std::nullopt,
         false,
         CString(L"D:\\Kits\\10"),
         false,
         VersionedTool(L"10.0.26100.0"),
         1,
         {L"10.0.9600.0", L"x64", L"10.0.26100.0", L"10.0.22621.0"},
         {L"10.0.9600.0", L"10.0.26100.0", L"10.0.22621.0"}},
        {"a newer version without the tool is passed over",
         std::nullopt,
         false,
         CString(L"D:\\Kits\\10"),
         false,
         VersionedTool(L"10.0.22621.0"),
         1,
         {L"10.0.26100.0", L"10.0.22621.0"},
         {L"10.0.22621.0"}},
        {"names that are no versions are ignored",
         std::nullopt,
         false,
         CString(L"D:\\Kits\\10"),
         false,
         L"",
         2,
         {L"x64", L"10.0.26100.0-preview", L"10..0", L"latest"},
         {L"x64", L"10.0.26100.0-preview", L"10..0", L"latest"}},
        // The SDK's installer is a 32-bit program, and writes its root in that view of the registry.
        {"the root only in the 32-bit view",
         std::nullopt,
         false,
         std::nullopt,
         true,
         kSdkCandidate,
         2,
         {},
         {},
         CString(L"D:\\Kits\\10")},
        {"a 64-bit root where nothing is installed, the 32-bit view's with the newest version",
         std::nullopt,
         false,
         CString(L"C:\\Program Files\\Windows Kits\\10"),
         false,
         VersionedTool(L"10.0.26100.0"),
         2,
         {L"10.0.26100.0"},
         {L"10.0.26100.0"},
         CString(L"D:\\Kits\\10")},
        {"the 64-bit view first when it gives a tool",
         std::nullopt,
         false,
         CString(L"D:\\Kits\\10"),
         true,
         kSdkCandidate,
         1,
         {},
         {},
         CString(L"F:\\Elsewhere")},
    };
    for (const DiscoveryCase& c : cases)
    {
        FakeSystem system;
        system.stored = c.stored;
        if (c.defaultExists)
            system.existing.insert(kSdkDefault);
        if (c.candidateExists)
            system.existing.insert(kSdkCandidate.Str());
        system.sdkRoot = c.sdkRoot;
        system.sdkRoot32 = c.sdkRoot32;
        system.folders[L"D:\\Kits\\10\\bin"] = c.binFolders;
        for (const std::wstring& version : c.versionsWithTheTool)
            system.existing.insert(VersionedTool(version));

        EXPECT_EQ(FindSigningTool(system), c.toolPath) << c.name;
        const std::vector<std::wstring> writes =
            c.toolPath.IsEmpty() ? std::vector<std::wstring>{}
                                 : std::vector{L"Settings\\SigntoolPath=" + c.toolPath.Str()};
        EXPECT_EQ(system.writes, writes) << c.name;
        EXPECT_EQ(system.sdkReads, c.sdkReads) << c.name;
    }
}

TEST(FindSigningTool, ARootEndingInABackslashKeepsBothBackslashes)
{
    FakeSystem system;
    system.sdkRoot = CString(L"D:\\Kits\\10\\");
    system.existing.insert(L"D:\\Kits\\10\\\\bin\\x64\\signtool.exe");
    EXPECT_EQ(FindSigningTool(system), CString(L"D:\\Kits\\10\\\\bin\\x64\\signtool.exe"));
}

TEST(FindSigningTool, TheNextStartUsesWhatWasStored)
{
    FakeSystem system;
    system.existing.insert(kSdkDefault);
    FindSigningTool(system);
    system.existing.clear();
    EXPECT_EQ(FindSigningTool(system), CString(kSdkDefault));
    EXPECT_EQ(system.writes.size(), 2u) << "the stored path is written back at every start";
}

TEST(RegistryText, StopsAtTheFirstNulOrAtTheReportedSize)
{
    const char16_t data[] = {u'C', u':', u'\\', u'K', 0, u'x'};
    EXPECT_EQ(RegistryText(data, sizeof(data)), CString(L"C:\\K"));
    EXPECT_EQ(RegistryText(data, 6), CString(L"C:\\"));
    EXPECT_EQ(RegistryText(data, 7), CString(L"C:\\")) << "half a unit is not a character";
    EXPECT_EQ(RegistryText(data, 0), CString(L""));
}

class FakeDialog : public BrowseHost
{
  public:
    CString toolPath = L"member";
    CString edit = L"edit";
    std::optional<CString> choice;
    std::vector<std::wstring> steps;

    CString& ToolPath() override { return toolPath; }
    void PullControls() override
    {
        steps.push_back(L"pull");
        toolPath = edit;
    }
    void PushControls() override
    {
        steps.push_back(L"push");
        edit = toolPath;
    }
    std::optional<CString> PickSigningTool() override
    {
        steps.push_back(L"pick");
        return choice;
    }
};

TEST(BrowseForSigningTool, StoresAndShowsAChoiceAndLeavesEverythingAsItWasOnCancel)
{
    FakeSystem system;
    FakeDialog chosen;
    chosen.choice = CString(L"C:\\My Tools\\signtool.exe");
    BrowseForSigningTool(chosen, system);
    EXPECT_EQ(chosen.steps, (std::vector<std::wstring>{L"pull", L"pick", L"push"}));
    EXPECT_EQ(chosen.edit, CString(L"C:\\My Tools\\signtool.exe"));
    EXPECT_EQ(system.writes, std::vector<std::wstring>{L"Settings\\SigntoolPath=C:\\My Tools\\signtool.exe"});

    FakeSystem untouched;
    FakeDialog cancelled;
    BrowseForSigningTool(cancelled, untouched);
    EXPECT_EQ(cancelled.steps, (std::vector<std::wstring>{L"pull", L"pick"}));
    EXPECT_EQ(cancelled.toolPath, CString(L"edit"));
    EXPECT_TRUE(untouched.writes.empty());
}
} // namespace
