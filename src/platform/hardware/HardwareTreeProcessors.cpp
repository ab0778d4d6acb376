#include "platform/hardware/HardwareTreeProcessors.h"

#include "platform/hardware/HardwareTreeCpuInfo.h"
#include "platform/base/KernelFiles.h"

#include <charconv>
#include <optional>
#include <set>
#include <string_view>

namespace platform::hardware {

namespace {

// Large enough for the cpuinfo of a machine with thousands of processors.
constexpr std::size_t kCpuInfoLimit = 8u << 20;

using Fields = HardwareTreeCpuInfo::Fields;

std::optional<std::string> Field(const Fields& fields, std::string_view name) {
    const auto found = fields.find(name);
    if (found == fields.end() || found->second.empty()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::uint64_t> Number(std::string_view text, int base = 10) {
    if (base == 16 && (text.starts_with("0x") || text.starts_with("0X"))) {
        text.remove_prefix(2);
    }
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return number;
}

bool HasWord(const std::optional<std::string>& list, std::string_view word) {
    if (!list) {
        return false;
    }
    std::string_view rest = *list;
    while (!rest.empty()) {
        const auto cut = rest.find(' ');
        if (rest.substr(0, cut) == word) {
            return true;
        }
        rest = (cut == std::string_view::npos) ? std::string_view() : rest.substr(cut + 1);
    }
    return false;
}

std::string X86Architecture(const Fields& fields) {
    if (!HasWord(Field(fields, "flags"), "lm")) {
        return "x86";
    }
    const auto vendor = Field(fields, "vendor_id");
    const bool amd = vendor && (*vendor == "AuthenticAMD" || *vendor == "HygonGenuine");
    return amd ? "AMD64" : "Intel64";
}

// "AMD64 Family 25 Model 1 Stepping 1" on x86, "ARM Family 8 Model 0xd08 Revision 3" on ARM.
std::optional<std::string> Identifier(const Fields& fields) {
    const auto family = Field(fields, "cpu family");
    const auto model = Field(fields, "model");
    const auto stepping = Field(fields, "stepping");
    if (family && model && stepping && Number(*family) && Number(*model) && Number(*stepping)) {
        return X86Architecture(fields) + " Family " + *family + " Model " + *model + " Stepping " + *stepping;
    }
    const auto architecture = Field(fields, "CPU architecture");
    const auto part = Field(fields, "CPU part");
    const auto revision = Field(fields, "CPU revision");
    if (architecture && part && revision) {
        return "ARM Family " + *architecture + " Model " + *part + " Revision " + *revision;
    }
    return std::nullopt;
}

bool HasFloatingPoint(const Fields& fields) {
    const auto features = Field(fields, "Features");
    return Field(fields, "fpu") == "yes" || HasWord(Field(fields, "flags"), "fpu") ||
           HasWord(features, "fp") || HasWord(features, "vfp");
}

// The rated speed where the frequency driver tells it, else the speed cpuinfo last saw.
std::optional<DWORD> Megahertz(const Fields& fields, const std::string& cpuFolder) {
    for (const char* file : {"/cpufreq/base_frequency", "/cpufreq/cpuinfo_max_freq"}) {
        const auto text = ReadAttribute(cpuFolder + file);
        const auto kilohertz = text ? Number(*text) : std::nullopt;
        if (kilohertz && *kilohertz >= 1000 && *kilohertz / 1000 <= 0xFFFFFFFFu) {
            return static_cast<DWORD>(*kilohertz / 1000);
        }
    }
    const auto text = Field(fields, "cpu MHz");
    double megahertz = 0;
    if (text) {
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), megahertz);
        if (error == std::errc() && end == text->data() + text->size() && megahertz >= 1 && megahertz < 4e9) {
            return static_cast<DWORD>(megahertz + 0.5);
        }
    }
    return std::nullopt;
}

// The microcode revision as eight bytes with the revision in the upper four, least significant first.
std::optional<std::vector<BYTE>> UpdateRevision(const Fields& fields) {
    const auto text = Field(fields, "microcode");
    const auto revision = text ? Number(*text, 16) : std::nullopt;
    if (!revision || *revision > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(8, 0);
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = static_cast<BYTE>(*revision >> (8 * i));
    }
    return bytes;
}

void FillProcessor(RegistryKey& key, const Fields& fields, const std::string& cpuFolder) {
    if (const auto megahertz = Megahertz(fields, cpuFolder)) {
        key.SetDword("~MHz", *megahertz);
    }
    if (const auto identifier = Identifier(fields)) {
        key.SetString("Identifier", *identifier);
    }
    if (const auto name = Field(fields, "model name")) {
        key.SetString("ProcessorNameString", *name);
    }
    if (const auto vendor = Field(fields, "vendor_id")) {
        key.SetString("VendorIdentifier", *vendor);
    }
    if (const auto revision = UpdateRevision(fields)) {
        key.SetBinary("Update Revision", *revision);
    }
}

// Processors with a "cpuN" folder that are not switched off ("online" is missing for processors that
// cannot be switched off).
std::set<unsigned> OnlineInSysfs(const std::string& cpuRoot) {
    std::set<unsigned> numbers;
    for (const auto& name : ListDirectory(cpuRoot)) {
        const auto number = std::string_view(name).starts_with("cpu") ? Number(name.substr(3)) : std::nullopt;
        if (number && *number <= 0xFFFFFFFFu && ReadAttribute(cpuRoot + "/" + name + "/online") != "0") {
            numbers.insert(static_cast<unsigned>(*number));
        }
    }
    return numbers;
}

} // namespace

void AddProcessors(RegistryKey& system, const std::string& procRoot, const std::string& sysRoot) {
    const auto text = ReadTextFile(procRoot + "/cpuinfo", kCpuInfoLimit);
    const auto info = HardwareTreeCpuInfo::Parse(text ? *text : std::string());
    const auto cpuRoot = sysRoot + "/devices/system/cpu";
    auto numbers = OnlineInSysfs(cpuRoot);
    for (const auto& entry : info.Processors()) {
        numbers.insert(entry.first);
    }
    const Fields none;
    for (const auto number : numbers) {
        const auto found = info.Processors().find(number);
        const auto& fields = (found == info.Processors().end()) ? none : found->second;
        const auto name = std::to_string(number);
        FillProcessor(system.AddPath("CentralProcessor\\" + name), fields, cpuRoot + "/cpu" + name);
        if (HasFloatingPoint(fields)) {
            if (const auto identifier = Identifier(fields)) {
                system.AddPath("FloatingPointProcessor\\" + name).SetString("Identifier", *identifier);
            } else {
                system.AddPath("FloatingPointProcessor\\" + name);
            }
        }
    }
}

} // namespace platform::hardware
