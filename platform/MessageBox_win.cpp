#include "MessageBox.h"

#include "ApplicationName.h"
#include "WinApp.h"

#include <windows.h>

namespace
{
MessageBoxSink& Sink()
{
    static MessageBoxSink sink;
    return sink;
}
} // namespace

int AfxMessageBox(const CString& text, unsigned type)
{
    if (Sink())
        return Sink()(text, type);
    const CString caption = AfxGetAppName();
    // MessageBoxW disables the owner while the box is up and enables it again after.
    return MessageBoxW(DefaultModalOwner(), text, caption, type);
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink)
{
    MessageBoxSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}
