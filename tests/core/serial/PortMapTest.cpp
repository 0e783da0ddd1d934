#include "serial/PortMap.h"
#include "serial/SerialPort.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(PortMap, UnmappedNumbersAndAddressesHaveTheirDefaults)
{
    const PortMap map;
    EXPECT_EQ(map.deviceForPort(1), "/dev/ttyUSB0");
    EXPECT_EQ(map.deviceForPort(10), "/dev/ttyUSB9");
    EXPECT_EQ(map.deviceForPort(0), "");
    EXPECT_EQ(map.deviceForPort(-3), "");
    EXPECT_EQ(map.deviceForParallelAddress(0x378), "/dev/parport0");
    EXPECT_EQ(map.deviceForParallelAddress(0x278), "/dev/parport1");
    EXPECT_EQ(map.deviceForParallelAddress(0xD010), "");
}

TEST(PortMap, WhatTheOperatorChoseReadsBackAndAnEmptyChoiceRestoresTheDefault)
{
    PortMap map;
    map.setPortDevice(1, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    map.setPortDevice(3, "/dev/ttyS0");
    map.setParallelDevice(0xD010, "/dev/parport3");
    map.setPortDevice(0, "/dev/ttyS9"); // no such number
    const PortMap reread = parsePortMap(formatPortMap(map));
    EXPECT_EQ(reread, map);
    EXPECT_EQ(reread.deviceForPort(1), "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(reread.deviceForParallelAddress(0xD010), "/dev/parport3");
    EXPECT_EQ(reread.portDevices().size(), 2u);

    map.setPortDevice(3, "");
    EXPECT_EQ(map.deviceForPort(3), "/dev/ttyUSB2");
}

TEST(PortMap, ADamagedEntryIsSkippedAndTheOthersKept)
{
    const PortMap map = parsePortMap("1=/dev/ttyS0\r\n"
                                     "garbage\n"
                                     "x=/dev/ttyS1\n"
                                     "0=/dev/ttyS2\n"
                                     "99999999999=/dev/ttyS3\n"
                                     "2=\n"
                                     "&HZZ=/dev/parport9\n"
                                     "&H278=/dev/parport4\n"
                                     "4=/dev/with=sign");
    EXPECT_EQ(map.deviceForPort(1), "/dev/ttyS0");
    EXPECT_EQ(map.deviceForPort(2), "/dev/ttyUSB1");
    EXPECT_EQ(map.deviceForPort(4), "/dev/with=sign");
    EXPECT_EQ(map.deviceForParallelAddress(0x278), "/dev/parport4");
    EXPECT_EQ(map.portDevices().size(), 2u);
    EXPECT_EQ(map.parallelDevices().size(), 1u);
}

TEST(ParallelAddress, HexWithItsPrefixOtherwiseDecimal)
{
    const struct
    {
        std::string_view text;
        std::optional<int> address;
    } cases[] = {
        { "&H378", 0x378 },
        { "&h3bc", 0x3BC },
        { " 888 ", 888 },
        { "&HFFFD", 0xFFFD },
        { "&HFFFE", std::nullopt }, // its control register would be past the I/O space
        { "&H", std::nullopt },
        { "", std::nullopt },
        { "0x378", std::nullopt },
        { "-1", std::nullopt },
        { "378h", std::nullopt },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseParallelAddress(c.text), c.address) << c.text;
    }
    EXPECT_EQ(formatParallelAddress(0x378), "&H378");
}

TEST(LineSettings, ReadsTheFourValuesTheSettingsFilesWrite)
{
    EXPECT_EQ(parseLineSettings("4800,N,8,2"), (LineSettings { 4800, 'N', 8, 2 }));
    EXPECT_EQ(parseLineSettings(" 1200 , e , 7 , 1 "), (LineSettings { 1200, 'E', 7, 1 }));
    for (std::string_view bad : { "", "4800", "4800,N,8", "4800,N,8,2,1", "4800,X,8,2", "4800,N,6,2", "4800,N,8,3",
             "fast,N,8,2", "0,N,8,2", "4800,NN,8,2", "99999999999,N,8,2" }) {
        EXPECT_EQ(parseLineSettings(bad), std::nullopt) << bad;
    }
}

} // namespace
} // namespace brindle
