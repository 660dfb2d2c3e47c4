#pragma once

#include "../platform/CString.h"

#include <cstddef>
#include <optional>
#include <vector>

inline constexpr wchar_t kDefaultSigningToolPath[] =
    L"C:\\Program Files (x86)\\Windows Kits\\10\\bin\\10.0.22621.0\\x64\\signtool.exe";
inline constexpr wchar_t kSdkRootKey[] = L"SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots";
inline constexpr wchar_t kSdkRootValue[] = L"KitsRoot10";
inline constexpr wchar_t kSdkToolSuffix[] = L"\\bin\\x64\\signtool.exe";
// A versioned SDK keeps its tools in <root>\bin\<version>\x64.
inline constexpr wchar_t kSdkBinFolder[] = L"\\bin";
inline constexpr wchar_t kSdkVersionedToolSuffix[] = L"\\x64\\signtool.exe";
inline constexpr wchar_t kProfileSection[] = L"Settings";
inline constexpr wchar_t kProfileEntry[] = L"SigntoolPath";
// The SDK root is read into MAX_PATH UTF-16 units: a root of 259 characters and its terminator fit.
inline constexpr std::size_t kSdkRootBufferBytes = 260 * sizeof(char16_t);

// The views of the machine's registry that a 64-bit program reads: its own, and the one that 32-bit programs
// write, such as the Windows SDK's installer.
enum class RegistryView
{
    Bits64,
    Bits32
};

// What finding and remembering the signing tool needs of the platform.
class ToolLocationSystem
{
  public:
    virtual ~ToolLocationSystem() = default;
    // The profile's string, or defaultValue when the entry or its key is missing.
    virtual CString ReadProfile(const wchar_t* section, const wchar_t* entry,
                                const wchar_t* defaultValue) = 0;
    virtual void WriteProfile(const wchar_t* section, const wchar_t* entry, const CString& value) = 0;
    // Whether a file or folder of that path exists.
    virtual bool FileExists(const CString& path) = 0;
    // The Windows SDK root in one view of the registry, or nothing when its key or value cannot be read into
    // kSdkRootBufferBytes.
    virtual std::optional<CString> ReadSdkRoot(RegistryView view) = 0;
    // The names of the folders directly inside a folder; none when it cannot be read.
    virtual std::vector<CString> FolderNames(const CString& folder) = 0;
};

// The signing tool's path at dialog start: the stored one, else the first place of the SDK where it exists
// (the default location, then under the SDK root of the 64-bit registry view and else of the 32-bit one: the
// root's own tool folder, the newest version of the SDK that has the tool), else empty. A path that is known
// is written back to the profile.
CString FindSigningTool(ToolLocationSystem& system);

// What the "..." button needs of the dialog.
class BrowseHost
{
  public:
    virtual ~BrowseHost() = default;
    virtual CString& ToolPath() = 0;
    virtual void PullControls() = 0;
    virtual void PushControls() = 0;
    // An open-file dialog for signtool.exe; the chosen file's full path, or nothing when cancelled.
    virtual std::optional<CString> PickSigningTool() = 0;
};

// What the "..." button does: lets the user pick the tool, then stores and shows the choice.
void BrowseForSigningTool(BrowseHost& host, ToolLocationSystem& system);
