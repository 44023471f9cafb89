#include "platform/port_names.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(PortNames, TheOptionsPortsOpenTheBluetoothLinkAndTheUsbAdapter) {
    EXPECT_EQ(hostPortFor("COM1", "").device, "/dev/rfcomm0");
    EXPECT_EQ(hostPortFor("COM2", "").device, "/dev/ttyUSB0");
    EXPECT_EQ(hostPortFor("com2:", "").device, "/dev/ttyUSB0");
    EXPECT_EQ(describePort(hostPortFor("COM1", "")), "COM1 (/dev/rfcomm0)");
}

TEST(PortNames, TheConfigurationNamesOtherDevices) {
    const std::string cfg =
        "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[COM2]\r\nSERIAL2=[/dev/ttyACM0]\r\n"
        "SERIAL3=[/dev/ttyS2]\r\n";
    EXPECT_EQ(hostPortFor("COM2", cfg).device, "/dev/ttyACM0");
    EXPECT_EQ(hostPortFor("COM1", cfg).device, "/dev/rfcomm0");  // not named: the default
    EXPECT_EQ(hostPortFor("COM3", cfg).device, "/dev/ttyS2");
    const HostPort unnamed = hostPortFor("COM4", cfg);
    EXPECT_EQ(unnamed.device, "");
    EXPECT_EQ(describePort(unnamed), "COM4 (no host device)");
}

TEST(PortNames, AnyOtherSettingIsTheDevicePathItself) {
    for (const char* p : {"/dev/ttyUSB1", "/dev/pts/3", "COM", "COM1X", "SIM", ""}) {
        const HostPort port = hostPortFor(p, "SERIAL1=[/dev/x]");
        EXPECT_EQ(port.device, p);
        EXPECT_EQ(describePort(port), p);
    }
}

}  // namespace
}  // namespace corvan
