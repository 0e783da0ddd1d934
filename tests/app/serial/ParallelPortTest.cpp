#include "keying/KeyingLines.h"
#include "serial/ParallelPort.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

// No parallel port exists here: what can be checked is that every way of not reaching one is told in
// words an operator can act on, and that nothing is keyed into nothing.
TEST(ParallelPort, APortThatCannotBeReachedSaysWhy)
{
    test::TempFolder temp;
    test::writeBytes(temp.file("not-a-port"), "");
    const struct
    {
        std::string device;
        std::string_view reason;
    } cases[] = {
        { temp.file("parport7"), "No such file or directory: no parallel port there" },
        { temp.file("not-a-port"), "Inappropriate ioctl for device" },
        { "", "no parallel port device is set" },
    };
    for (const auto& c : cases) {
        ParallelPort port;
        const Status opened = port.open(c.device);
        ASSERT_FALSE(opened.ok()) << c.device;
        EXPECT_NE(opened.error().description.find(c.reason), std::string::npos) << opened.error().description;
        EXPECT_EQ(opened.error().description.find(c.device), 0u) << "the device comes first";
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.setControlRegister(3).ok());
    }
}

TEST(KeyingLines, AChoiceWithoutADeviceIsRefusedInPlainWords)
{
    KeyingLineChoice choice;
    int serialPortsMade = 0;
    KeyingLines lines(
        choice,
        [&serialPortsMade]() -> std::unique_ptr<SerialPort> {
            ++serialPortsMade;
            return nullptr;
        },
        [](int address) { return address == 0x378 ? std::string("/nonexistent/parport0") : std::string(); });

    choice.keying = CwKeying::Rts;
    choice.portNumber = 0;
    Result<KeyingLine*> line = lines.openLine();
    ASSERT_FALSE(line.ok());
    EXPECT_EQ(line.error().description, "no CW port is chosen (the port number is 0)");
    EXPECT_EQ(serialPortsMade, 0);

    choice.keying = CwKeying::ParallelPort;
    choice.parallelAddress = 0x278;
    line = lines.openLine();
    ASSERT_FALSE(line.ok());
    EXPECT_EQ(line.error().description,
        "no parallel port device is set for address &H278 (Options, Serial Ports)");

    choice.parallelAddress = 0x378;
    line = lines.openLine();
    ASSERT_FALSE(line.ok());
    EXPECT_EQ(line.error().description.find("/nonexistent/parport0: No such file or directory"), 0u);

    choice.keying = CwKeying::WinKey;
    EXPECT_FALSE(lines.openLine().ok());
}

} // namespace
} // namespace brindle
