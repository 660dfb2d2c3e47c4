#pragma once

#include "ToolDiscovery.h"

// Tool discovery on Windows: the application's profile, the file system and the registry of the machine.
class SystemToolLocation : public ToolLocationSystem
{
  public:
    CString ReadProfile(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) override;
    void WriteProfile(const wchar_t* section, const wchar_t* entry, const CString& value) override;
    bool FileExists(const CString& path) override;
    std::optional<CString> ReadSdkRoot(RegistryView view) override;
    std::vector<CString> FolderNames(const CString& folder) override;
};

// An open-file dialog that lists only files named signtool.exe; the chosen path, or nothing.
std::optional<CString> PickSigningToolWithDialog();
