#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

// Replaces the list text and the file list with a list file's contents and tells whether it did. An empty
// path does nothing, and a file that cannot be read changes nothing and says nothing.
bool ReadListFile(const CString& path, CString& listText, CStringArray& files);

// Writes the list text to path. The new bytes go to a temporary file beside it, which replaces the target
// only once it is written and closed, so a failure never destroys the list file that was there; a list file
// that is replaced keeps its attributes, security and creation time. Raises
// CFileException: the target's own cause when it cannot be written, badPath for a missing folder, diskFull
// for a failed write or close, genericException for a text that cannot be converted.
void SaveListFile(const CString& path, const CString& listText);

// Saves and tells the user how it went: "File saved successfully!", or the failure with its cause code.
void SaveListFileAndReport(const CString& path, const CString& listText);

// What the Save button does: asks for a ".ksig" name and saves the list text there.
void SaveListWithDialog(const CString& listText);
