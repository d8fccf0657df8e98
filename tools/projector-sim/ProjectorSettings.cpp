#include "tools/projector-sim/ProjectorSettings.h"

#include <cstdio>

#include "tools/projector-sim/SimulatorConfig.h"

namespace lanterna::sim {

std::string DerivedMac(const Octets& address) {
    std::array<char, 13> text{};
    std::snprintf(text.data(), text.size(), "0200%02X%02X%02X%02X", address[0], address[1],
                  address[2], address[3]);
    return std::string(text.data());
}

namespace {

InterfaceSettings StaticInterface(const Octets& address) {
    InterfaceSettings settings;
    settings.dhcp = false;
    settings.ipAddress = address;
    settings.subnetMask = {255, 255, 255, 0};
    settings.gateway = {address[0], address[1], address[2],
                        static_cast<std::uint8_t>(address[3] == 1 ? 254 : 1)};
    return settings;
}

InterfaceSettings DhcpInterface() {
    InterfaceSettings settings;
    settings.dhcp = true;
    return settings;
}

}  // namespace

ProjectorSettings DefaultSettings(const SimulatorConfig& config) {
    Octets address{};
    ScanDottedInto(config.address, address);

    ProjectorSettings settings;
    settings.name = config.name;
    settings.password = config.password;
    settings.mac = config.mac.empty() ? DerivedMac(address) : config.mac;
    settings.imType = config.imType;
    settings.wireless = config.wireless;
    settings.wired = config.wireless ? DhcpInterface() : StaticInterface(address);
    settings.wirelessLan = config.wireless ? StaticInterface(address) : DhcpInterface();
    settings.primaryInterface = config.wireless ? 1 : 0;
    if (config.wireless) {
        settings.essid = "PROJ-LAN";
        settings.basicWirelessMode = 4;
        settings.extendedWirelessMode = 2;
    }
    return settings;
}

}  // namespace lanterna::sim
