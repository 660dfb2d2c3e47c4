#pragma once

#include "../platform/CString.h"

#include <optional>

// The two values that make this program the one that opens list files, as the registry holds them; nothing
// where a value is missing.
struct ListFileAssociation
{
    std::optional<CString> progId;
    std::optional<CString> openCommand;
};

// Whether writing the association changes what the registry held. Explorer caches associations, so only
// then is the shell told; an ordinary start, which finds both values in place, costs no broadcast.
bool AssociationChanges(const ListFileAssociation& current, const CString& openCommand);

// Makes this program, for the current user, the one that opens ".ksig" files: the extension names the
// ProgID, whose open command holds this executable's whole path. Failures are silent; nothing is removed.
void RegisterListFileType();
