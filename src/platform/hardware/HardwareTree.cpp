#include "platform/hardware/HardwareTree.h"

#include "platform/hardware/HardwareTreeFirmware.h"
#include "platform/hardware/HardwareTreeProcessors.h"
#include "platform/hardware/HardwareTreeSerial.h"

HardwareTree::HardwareTree(std::string procRoot, std::string sysRoot)
    : m_procRoot(std::move(procRoot)), m_sysRoot(std::move(sysRoot)) {}

std::shared_ptr<RegistryKey> HardwareTree::Build() const {
    auto system = std::make_shared<RegistryKey>("System");
    platform::hardware::AddFirmware(*system, m_procRoot, m_sysRoot);
    platform::hardware::AddProcessors(*system, m_procRoot, m_sysRoot);
    platform::hardware::AddSerialControllers(*system, m_sysRoot);
    return system;
}
