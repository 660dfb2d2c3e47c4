#include "TestFiles.h"
#include "platform/DllSearch.h"
#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace
{
using UniqueModule = UniqueResource<HMODULE, &::FreeLibrary>;

// The restriction holds for the rest of this process, as it does in Quorlin.exe: the tests after this one run
// as the program does. The planted name is one that System32 does not have, so that the test needs nothing
// of what this process has loaded already (on Windows, the dialog tests load the theme's DLLs).
TEST(DllSearch, ADllPlantedBesideTheProgramIsNotLoadedAfterTheStartUpStep)
{
    const wchar_t planted[] = L"quorlin-planted.dll";
    const PlacedFile placed(ExecutableDirectory() / L"planted" / L"planted.dll",
                            ExecutableDirectory() / planted);

    RestrictDllSearchToSystem32();
    SetLastError(ERROR_SUCCESS);
    const UniqueModule notFound(LoadLibraryW(planted));
    const DWORD error = GetLastError();

    EXPECT_FALSE(notFound) << "the DLL planted beside the program was loaded";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetEnvironmentVariableW(L"QUORLIN_PLANTED_DLL_LOADED", nullptr, 0), 0u);
    EXPECT_TRUE(fs::exists(ExecutableDirectory() / planted)) << "the planted file is left where it was";

    const UniqueModule system(LoadLibraryW(L"dwmapi.dll"));
    ASSERT_TRUE(system) << "a System32 DLL still loads by its name";
    wchar_t systemFolder[MAX_PATH] = L"";
    GetSystemDirectoryW(systemFolder, MAX_PATH);
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(system.Get(), path, MAX_PATH);
    EXPECT_TRUE(fs::equivalent(fs::path(path).parent_path(), fs::path(systemFolder)));
}
} // namespace
