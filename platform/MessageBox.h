#pragma once

#include "CString.h"

#include <functional>

// A modal message box owned as DefaultModalOwner says, captioned with the application's name; returns the
// answer.
int AfxMessageBox(const CString& text, unsigned type = 0);

// The one seam for in-process tests: while a sink is set, boxes go to it instead of the screen and it gives
// the answer. Returns the sink it replaces; an empty sink restores the real boxes.
using MessageBoxSink = std::function<int(const CString& text, unsigned type)>;
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);
