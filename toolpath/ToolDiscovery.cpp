#include "ToolDiscovery.h"

namespace
{
// Only ever inside LocateSigningTool; a profile that holds it (from an older version) counts as empty.
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

CString LocateSigningTool(ToolLocationSystem& system)
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

CString RegistryText(const char16_t* data, std::size_t dataBytes)
{
    const std::size_t units = dataBytes / 2;
    std::wstring text;
    for (std::size_t i = 0; i < units && data[i] != u'\0'; ++i)
        text += static_cast<wchar_t>(data[i]);
    return CString(std::move(text));
}

void OnBrowse(BrowseHost& host, ToolLocationSystem& system)
{
    host.PullControls();
    if (const std::optional<CString> chosen = host.PickSigningTool())
    {
        host.ToolPath() = *chosen;
        system.WriteProfile(kProfileSection, kProfileEntry, host.ToolPath());
        host.PushControls();
    }
}
