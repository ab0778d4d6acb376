#pragma once
// Resources by number. The program registers its resources once at start-up; windows and dialogs
// look them up when they are created.

#include <QPixmap>

#include "framework/base/CString.h"
#include "framework/base/ResourceTypes.h"

namespace afx {

void RegisterMenu(UINT id, MenuResource menu);
void RegisterAccelerators(UINT id, AcceleratorResource table);
void RegisterDialog(UINT id, DialogTemplate dialog);
void RegisterString(UINT id, std::string text);
// `path` names an image file, for example one in the Qt resource system (":/...").
void RegisterBitmap(UINT id, QString path);

// Takes a menu out again (a program whose resources are incomplete, as tests make it).
void UnregisterMenu(UINT id);

// Null when nothing is registered under the number.
const MenuResource* FindMenu(UINT id);
const AcceleratorResource* FindAccelerators(UINT id);
const DialogTemplate* FindDialog(UINT id);
// FALSE and an empty string when no string has the number.
BOOL LoadString(UINT id, CString& text);
// A null pixmap when no bitmap has the number or its file cannot be read.
QPixmap LoadBitmap(UINT id);

} // namespace afx
