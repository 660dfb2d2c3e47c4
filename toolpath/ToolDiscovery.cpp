#include "ToolDiscovery.h"

namespace
{
// The search's own word for a miss. It never leaves FindSigningTool, and a profile entry that holds it
// counts as none, with no search.
constexpr wchar_t kNotFoundMarker[] = L"signtool.exe not found";

CString SearchSdk(ToolLocationSystem& system)
{
    if (system.FileExists(kDefaultSigningToolPath))
        return kDefaultSigningToolPath;
    const std::optional<CString> root = system.ReadSdkRoot();
    if (!root)
        return kNotFoundMarker;
    const CString candidate = *root + kSdkToolSuffix;
    return system.FileExists(candidate) ? candidate : CString(kNotFoundMarker);
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
