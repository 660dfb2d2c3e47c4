#include "Association.h"

#include "ListFileType.h"

bool AssociationChanges(const ListFileAssociation& current, const CString& openCommand)
{
    return current.progId != CString(kListFileProgId) || current.openCommand != openCommand;
}
