#pragma once

#include <windows.h>

#include <string>

// Whether whoever runs the tests has declared this machine disposable with QUORLIN_TEST_DISPOSABLE_MACHINE=1,
// as tools/test does for the Wine prefix it creates. Only there may a test change what lies outside a scratch
// of its own: the machine's SDK registration and SDK folder, the user's Quorlin settings and association.
inline bool IsDisposableMachine()
{
    wchar_t value[8] = L"";
    return GetEnvironmentVariableW(L"QUORLIN_TEST_DISPOSABLE_MACHINE", value, 8) == 1 && value[0] == L'1';
}

// The one-line reason a test that would change `what` gives when it is skipped.
inline std::string NotDisposable(const std::string& what)
{
    return "it would change " + what +
           "; it runs where QUORLIN_TEST_DISPOSABLE_MACHINE=1 declares the machine disposable, "
           "as tools/test does for its Wine prefix";
}
