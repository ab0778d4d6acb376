#include "config/PortTips.h"

#include <algorithm>

#include "framework/controls/CComboBox.h"
#include "platform/ports/PortDescription.h"

void SetPortListItemTips(CComboBox& list) {
    const int count = list.GetCount();
    for (int i = 0; i < count; ++i) {
        CString name;
        list.GetLBText(i, name);
        list.SetItemTipText(i, platform::DescribePort(name.str()).c_str());
    }
}

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

} // namespace

std::string PermissionTip(const std::vector<platform::DeniedDevice>& denied) {
    if (denied.empty())
        return {};
    std::vector<std::string> paths;
    std::vector<std::string> groups;
    for (const auto& device : denied) {
        paths.push_back(device.path);
        if (device.groupMayOpen && std::find(groups.begin(), groups.end(), device.group) == groups.end())
            groups.push_back(device.group);
    }
    std::string tip = "Not listed: you have no permission to open " + Joined(paths, ", ") + ".";
    if (groups.empty())
        return tip + "\nAsk the administrator of this machine for read and write access to them.";
    return tip + "\nTo use them, join the group " + Joined(groups, " and ") + ":\n    sudo usermod -aG " +
           Joined(groups, ",") + " $USER\nthen log out and log in again.";
}
