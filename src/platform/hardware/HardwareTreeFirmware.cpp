#include "platform/hardware/HardwareTreeFirmware.h"

#include "platform/base/KernelFiles.h"

#include <charconv>
#include <optional>
#include <utility>
#include <vector>

namespace platform::hardware {

namespace {

// BIOS values and the firmware table attributes they come from, in the order they are listed.
const std::vector<std::pair<const char*, const char*>> kBiosStrings = {
    {"BIOSVendor", "bios_vendor"},         {"BIOSVersion", "bios_version"},
    {"BIOSReleaseDate", "bios_date"},      {"SystemManufacturer", "sys_vendor"},
    {"SystemProductName", "product_name"}, {"SystemFamily", "product_family"},
    {"SystemVersion", "product_version"},  {"BaseBoardManufacturer", "board_vendor"},
    {"BaseBoardProduct", "board_name"},    {"BaseBoardVersion", "board_version"},
};

std::optional<DWORD> ParseDword(std::string_view text) {
    DWORD number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return number;
}

// "5.17" gives the firmware's major and minor release as numbers.
std::optional<std::pair<DWORD, DWORD>> BiosRelease(const std::optional<std::string>& text) {
    const auto dot = text ? text->find('.') : std::string::npos;
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    const auto major = ParseDword(std::string_view(*text).substr(0, dot));
    const auto minor = ParseDword(std::string_view(*text).substr(dot + 1));
    if (!major || !minor) {
        return std::nullopt;
    }
    return std::pair{*major, *minor};
}

void AddSystemValues(RegistryKey& system, const std::string& procRoot, const std::string& dmi) {
    if (const auto architecture = ReadAttribute(procRoot + "/sys/kernel/arch")) {
        system.SetString("Identifier", *architecture);
    }
    if (const auto date = ReadAttribute(dmi + "/bios_date")) {
        system.SetString("SystemBiosDate", *date);
    }
    std::vector<std::string> versions;
    for (const char* attribute : {"bios_version", "bios_vendor"}) {
        if (auto text = ReadAttribute(dmi + "/" + attribute)) {
            versions.push_back(std::move(*text));
        }
    }
    if (!versions.empty()) {
        system.SetMultiString("SystemBiosVersion", versions);
    }
}

void AddBiosKey(RegistryKey& system, const std::string& dmi) {
    std::vector<std::pair<const char*, std::string>> found;
    for (const auto& [name, attribute] : kBiosStrings) {
        if (auto text = ReadAttribute(dmi + "/" + attribute)) {
            found.emplace_back(name, std::move(*text));
        }
    }
    const auto release = BiosRelease(ReadAttribute(dmi + "/bios_release"));
    if (found.empty() && !release) {
        return;
    }
    auto& bios = system.AddKey("BIOS");
    for (const auto& [name, text] : found) {
        bios.SetString(name, text);
    }
    if (release) {
        bios.SetDword("BiosMajorRelease", release->first);
        bios.SetDword("BiosMinorRelease", release->second);
    }
}

} // namespace

void AddFirmware(RegistryKey& system, const std::string& procRoot, const std::string& sysRoot) {
    const auto dmi = sysRoot + "/class/dmi/id";
    AddSystemValues(system, procRoot, dmi);
    AddBiosKey(system, dmi);
}

} // namespace platform::hardware
