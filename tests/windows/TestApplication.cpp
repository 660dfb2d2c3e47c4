#include "PrintCString.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

#include <gtest/gtest.h>

// The application object of the test program, as Quorlin.exe has its own: the profile, the busy cursor and
// message pumping go through it.
CWinApp theTestApplication;

namespace
{
// A message box that no test expects would wait for an answer that never comes, until the suite's time is
// up. Instead it fails the test that showed it, with its text, and is answered with OK.
class UnexpectedMessageBoxesFail : public testing::Environment
{
    void SetUp() override
    {
        SetMessageBoxSink(
            [](const CString& text, unsigned)
            {
                ADD_FAILURE() << "unexpected message box: " << testing::PrintToString(text);
                return IDOK;
            });
    }
};

[[maybe_unused]] testing::Environment* const unexpectedMessageBoxesFail =
    testing::AddGlobalTestEnvironment(new UnexpectedMessageBoxesFail);
} // namespace
