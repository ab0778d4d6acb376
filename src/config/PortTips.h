#pragma once
// The tooltips that tell a Linux user which device a port name stands for, and why a device that is
// plugged in may be missing from the port list.

#include <string>
#include <vector>

#include "platform/ports/DevicePermissions.h"

class CComboBox;

// Gives each entry of the port list the description of its device.
void SetPortListItemTips(CComboBox& list);

// The note for devices that are there but may not be opened, naming them and the fix; empty when
// there are none.
std::string PermissionTip(const std::vector<platform::DeniedDevice>& denied);
