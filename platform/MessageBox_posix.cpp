#include "MessageBox.h"

#include "CodePage.h"

#include <cstdio>

int ShowMessageBox(const CString& text, unsigned)
{
    std::fprintf(stderr, "%s\n", Utf8FromWide(text.Str()).c_str());
    return 1; // IDOK
}
