#include "SigningCommandLine.h"

CString QuoteArgument(const CString& argument)
{
    CString quoted = L"\"";
    const std::wstring& text = argument.Str();
    for (std::size_t i = 0;; ++i)
    {
        std::size_t backslashes = 0;
        while (i < text.size() && text[i] == L'\\')
        {
            ++backslashes;
            ++i;
        }
        if (i == text.size())
        {
            // Before the closing quote every backslash must be doubled, or the last one would escape it.
            quoted += CString(std::wstring(backslashes * 2, L'\\'));
            break;
        }
        if (text[i] == L'"')
            quoted += CString(std::wstring(backslashes * 2 + 1, L'\\'));
        else
            quoted += CString(std::wstring(backslashes, L'\\'));
        quoted += text[i];
    }
    quoted += L'"';
    return quoted;
}

bool LooksLikeAnOption(const CString& filePath)
{
    return filePath.Str().starts_with(L'/') || filePath.Str().starts_with(L'-');
}

CString BuildSigningCommandLine(const CString& toolPath, const CString& filePath)
{
    // The program name is read up to the next quote without escapes, and no Windows path holds a quote, so
    // the tool path is quoted as it is. The file path is an ordinary argument and must be escaped.
    const CString quotedTool = L"\"" + toolPath + L"\"";
    CString commandLine;
    commandLine.Format(L"%s sign /tr %s /td sha256 /fd sha256 /a %s", quotedTool, kTimestampUrl,
                       QuoteArgument(filePath));
    return commandLine;
}
