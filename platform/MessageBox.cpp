#include "MessageBox.h"

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
    return Sink() ? Sink()(text, type) : ShowMessageBox(text, type);
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink)
{
    MessageBoxSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}
