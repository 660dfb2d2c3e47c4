// The program's load configuration, which MSVC's runtime brings and MinGW-w64's does not. It exists for one
// field: DependentLoadFlags tells Windows (10 1607 and later) to take the DLLs that the program imports from
// System32 alone, before any of the program's code runs, so that none planted beside the program is loaded.
// The older headers of MinGW-w64 call that field Reserved1. GNU ld does not point the image's load
// configuration directory at this structure; cmake/set_load_config.py does that after the link.

#include <windows.h>

namespace
{
constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 SystemDllsOnly()
{
    IMAGE_LOAD_CONFIG_DIRECTORY64 loadConfig{};
    loadConfig.Size = sizeof(loadConfig);
    loadConfig.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return loadConfig;
}
} // namespace

extern "C" constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = SystemDllsOnly();
