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
// as the program does.
TEST(DllSearch, ADllPlantedBesideTheProgramIsNotLoadedAfterTheStartUpStep)
{
    const wchar_t name[] = L"dwmapi.dll";
    ASSERT_EQ(GetModuleHandleW(name), nullptr) << "loaded already, so a load by name would show nothing";
    const PlacedFile planted(ExecutableDirectory() / L"planted" / L"planted.dll",
                             ExecutableDirectory() / name);

    RestrictDllSearchToSystem32();
    const UniqueModule loaded(LoadLibraryW(name));

    ASSERT_TRUE(loaded);
    EXPECT_EQ(GetEnvironmentVariableW(L"QUORLIN_PLANTED_DLL_LOADED", nullptr, 0), 0u)
        << "the DLL planted beside the program was loaded";
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(loaded.Get(), path, MAX_PATH);
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(system));
}
} // namespace
