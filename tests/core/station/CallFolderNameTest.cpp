#include "station/CallFolderName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

TEST(CallFolderName, takesTheLeadingRunOfDigitsAndCapitals)
{
    struct Case
    {
        std::string call;
        std::string stem;
    };
    const std::vector<Case> cases = {
        { "", "YourCall" },
        { "dl1abc", "YourCall" },
        { "DL1ABC/P", "DL1ABC" },
        { "9A1A", "9A1A" },
        { "K1AB", "K1AB" },
        { "OH2/DL1ABC", "OH2" },
        { "DL1abc", "DL1" },
        { " DL1ABC", "YourCall" },
        { "DL1ABC ", "DL1ABC" },
        { "/P", "YourCall" },
        { "\xC5"
          "DL1ABC",
            "YourCall" },
        { "DL1-ABC", "DL1" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(callFolderName(c.call), c.stem) << "\"" << c.call << "\"";
    }
}

} // namespace
} // namespace brindle
