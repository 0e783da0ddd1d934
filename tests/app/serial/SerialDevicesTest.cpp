#include "serial/SerialDevices.h"

#include "support/PtyPair.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brindle {
namespace {

TEST(SerialDevices, anAdapterIsOfferedByTheStableLinkThatLeadsToIt)
{
    test::TempFolder temp;
    test::PtyPair adapters(temp.path());
    ASSERT_EQ(adapters.failure(), "");
    const std::filesystem::path byId = temp.file("by-id");
    std::filesystem::create_directory(byId);
    const auto link = [&byId](const std::string& name, const std::filesystem::path& target) {
        // Relative, as udev makes them.
        std::filesystem::create_symlink(target.is_absolute() ? target.lexically_relative(byId) : target, byId / name);
        return (byId / name).string();
    };
    const std::string first = link("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", adapters.nearDevice());
    const std::string second
        = link("usb-Silicon_Labs_CP2102_0001-if00-port0", std::filesystem::canonical(adapters.far()));
    link("usb-Unplugged-if00-port0", "../../ttyUSB42");

    EXPECT_EQ(stableLinkTo(adapters.nearDevice(), byId), first);
    EXPECT_EQ(stableLinkTo(adapters.near(), byId), first) << "found through a link too";
    EXPECT_EQ(stableLinkTo(std::filesystem::canonical(adapters.far()), byId), second);
    EXPECT_EQ(stableLinkTo("/dev/null", byId), "");
    EXPECT_EQ(stableLinkTo(temp.file("ttyUSB42"), byId), "");
    EXPECT_EQ(stableLinkTo(adapters.nearDevice(), temp.file("no-such-folder")), "");
}

TEST(SerialDevices, theParallelPortsPresentAreOfferedInTheOrderOfTheirNumbers)
{
    test::TempFolder dev;
    for (const char* name :
        { "parport10", "parport0", "parport2", "parportx", "parport", "lp0", "parport99999999999" }) {
        test::writeBytes(dev.file(name), "");
    }
    EXPECT_EQ(presentParallelDevices(dev.path()),
        std::vector<std::string>({ dev.file("parport0"), dev.file("parport2"), dev.file("parport10") }));
    EXPECT_EQ(presentParallelDevices(dev.file("missing")), std::vector<std::string>());
}

} // namespace
} // namespace brindle
