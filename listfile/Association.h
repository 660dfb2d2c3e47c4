#pragma once

// Makes this program, for the current user, the one that opens ".ksig" files: the extension names the
// ProgID, whose open command holds this executable's whole path. Failures are silent; nothing is removed.
void RegisterListFileType();
