#include "MessageBox.h"

#include "CodePage.h"

#include <cstdio>

int ShowMessageBox(const CString& text, unsigned)
{
    std::fprintf(stderr, "%s\n", Utf8FromWide(text.Str()).value_or("(a text that does not convert)").c_str());
    return 1; // IDOK
}
