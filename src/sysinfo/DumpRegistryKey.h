#pragma once
// Writes a registry key and everything below it into an edit control as indented text: the key's
// values as "name: data" lines, then each subkey's name on a line of its own followed by that
// subkey's own contents, two blanks deeper. Text goes in at the caret, replacing the selection, and
// bypasses the control's character handling.

#include "framework/base/CString.h"
#include "platform/hardware/Registry.h"

class CEdit;

// 0 when the key and its whole subtree were written; otherwise the error code of the first subkey
// that could not be opened, or of a key whose listing kept failing.
LONG DumpRegistryKey(HKEY key, CEdit& edit, const CString& indent);
