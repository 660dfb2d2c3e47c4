#pragma once

#include "CString.h"

#include <functional>

// A modal message box with the text and type (0: MB_OK without an icon), captioned with the application's
// name; returns the answer. While a sink is set, the sink takes the box and gives the answer instead.
int AfxMessageBox(const CString& text, unsigned type = 0);

// The one seam for tests of everything that shows a box: while a sink is set, boxes go to it instead of the
// screen and it gives the answer. Returns the sink it replaces; an empty sink restores the real boxes.
using MessageBoxSink = std::function<int(const CString& text, unsigned type)>;
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);

// The box on the platform's screen, owned as DefaultModalOwner says. Where there is no screen, as for the
// rules built natively, the text goes to standard error and the answer is OK.
int ShowMessageBox(const CString& text, unsigned type);
