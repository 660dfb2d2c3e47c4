#include "DialogWatcher.h"
#include "PrintCString.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "signing/SignOneFile.h"

#include <gtest/gtest.h>

namespace
{
// While alive, message boxes are shown on the screen, whatever sink the test program set.
class RealMessageBoxes
{
  public:
    RealMessageBoxes() : m_previous(SetMessageBoxSink({})) {}
    RealMessageBoxes(const RealMessageBoxes&) = delete;
    RealMessageBoxes& operator=(const RealMessageBoxes&) = delete;
    ~RealMessageBoxes() { SetMessageBoxSink(std::move(m_previous)); }

  private:
    MessageBoxSink m_previous;
};

TEST(RealMessageBox, ShowsTheTextUnderTheApplicationsNameWithoutAnIconAndWaitsForOk)
{
    const RealMessageBoxes real;
    DialogWatcher watcher(GetCurrentThreadId());
    CString output = L"untouched";
    const bool started = SignOneFile(L"C:\\a.exe", output, L"C:\\windows\\no-such-signtool.exe");
    const std::optional<SeenDialog> seen = watcher.Finish();

    EXPECT_FALSE(started);
    ASSERT_TRUE(seen) << "no message box appeared";
    EXPECT_EQ(seen->texts, std::vector<std::wstring>{L"Failed to execute signtool.exe. Error code: 2"});
    EXPECT_EQ(seen->caption, AfxGetAppName().Str());
    EXPECT_FALSE(seen->hasIcon) << "type 0 boxes carry no icon";
}
} // namespace
