#include "ToolDiscovery.h"

#include <algorithm>
#include <string>
#include <utility>

namespace
{
// The search's own word for a miss. It never leaves FindSigningTool, and a profile entry that holds it
// counts as none, with no search.
constexpr wchar_t kNotFoundMarker[] = L"signtool.exe not found";

// A folder name made of numbers between dots, such as 10.0.26100.0, as its numbers; nothing for any other
// name.
std::optional<std::vector<std::wstring>> VersionNumbers(const std::wstring& name)
{
    std::vector<std::wstring> numbers(1);
    for (const wchar_t c : name)
    {
        if (c == L'.')
            numbers.emplace_back();
        else if (c >= L'0' && c <= L'9')
            numbers.back() += c;
        else
            return std::nullopt;
    }
    if (std::any_of(numbers.begin(), numbers.end(),
                    [](const std::wstring& number) { return number.empty(); }))
        return std::nullopt;
    for (std::wstring& number : numbers)
        number.erase(0, std::min(number.find_first_not_of(L'0'), number.size() - 1));
    return numbers;
}

// Whether version a is older than version b, number by number as numbers, however many digits they have.
bool IsOlder(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b)
{
    const auto older = [](const std::wstring& x, const std::wstring& y)
    { return x.size() != y.size() ? x.size() < y.size() : x < y; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), older);
}

// The tool of the newest SDK version under the root that has one: an SDK installed since 10.0.15063 keeps its
// tools in a folder of its version only.
std::optional<CString> NewestVersionedTool(ToolLocationSystem& system, const CString& root)
{
    std::vector<std::pair<std::vector<std::wstring>, CString>> versions;
    for (const CString& name : system.FolderNames(root + kSdkBinFolder))
        if (std::optional<std::vector<std::wstring>> numbers = VersionNumbers(name.Str()))
            versions.emplace_back(std::move(*numbers), name);
    std::sort(versions.begin(), versions.end(),
              [](const auto& a, const auto& b) { return IsOlder(b.first, a.first); });
    for (const auto& version : versions)
    {
        const CString candidate = root + kSdkBinFolder + L"\\" + version.second + kSdkVersionedToolSuffix;
        if (system.FileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<CString> ToolUnderRoot(ToolLocationSystem& system, const CString& root)
{
    const CString candidate = root + kSdkToolSuffix;
    if (system.FileExists(candidate))
        return candidate;
    return NewestVersionedTool(system, root);
}

CString SearchSdk(ToolLocationSystem& system)
{
    if (system.FileExists(kDefaultSigningToolPath))
        return kDefaultSigningToolPath;
    // The SDK's installer is a 32-bit program: the 64-bit view may lack the root, or name a folder where
    // nothing is installed, while the 32-bit view has the right one.
    for (const RegistryView view : {RegistryView::Bits64, RegistryView::Bits32})
        if (const std::optional<CString> root = system.ReadSdkRoot(view))
            if (std::optional<CString> tool = ToolUnderRoot(system, *root))
                return *tool;
    return kNotFoundMarker;
}
} // namespace

CString FindSigningTool(ToolLocationSystem& system)
{
    CString toolPath = system.ReadProfile(kProfileSection, kProfileEntry, L"");
    if (toolPath.IsEmpty())
        toolPath = SearchSdk(system);
    if (toolPath.Compare(kNotFoundMarker) == 0)
        toolPath.Empty();
    if (!toolPath.IsEmpty())
        system.WriteProfile(kProfileSection, kProfileEntry, toolPath);
    return toolPath;
}

void BrowseForSigningTool(BrowseHost& host, ToolLocationSystem& system)
{
    host.PullControls();
    if (const std::optional<CString> chosen = host.PickSigningTool())
    {
        host.ToolPath() = *chosen;
        system.WriteProfile(kProfileSection, kProfileEntry, host.ToolPath());
        host.PushControls();
    }
}
