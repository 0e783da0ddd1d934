#include "keying/CwBuffer.h"

#include <gtest/gtest.h>

#include <thread>

namespace brindle {
namespace {

TEST(CwBuffer, OnlyTheFirstTextOfARunAsksForASender)
{
    CwBuffer buffer;
    EXPECT_FALSE(buffer.append("")) << "nothing to send needs no sender";
    EXPECT_TRUE(buffer.append("CQ"));
    EXPECT_FALSE(buffer.append(" TEST")) << "the running sender picks this up";
    EXPECT_TRUE(buffer.isSending());
    EXPECT_EQ(buffer.takeNext(), 'C');
    EXPECT_FALSE(buffer.replace("DE G4ABC")) << "an F-key during a message replaces the rest of it";
    EXPECT_EQ(buffer.text(), "DE G4ABC");
    buffer.clear();
    EXPECT_TRUE(buffer.isSending()) << "the character on the air is still being finished";
    EXPECT_EQ(buffer.takeNext(), std::nullopt);
    EXPECT_FALSE(buffer.isSending());
    EXPECT_TRUE(buffer.append("K"));
}

TEST(CwBuffer, BackspaceTakesBackTheLastCharacterNotYetTaken)
{
    CwBuffer buffer;
    EXPECT_FALSE(buffer.takeBackLast());
    (void)buffer.append("AB");
    EXPECT_EQ(buffer.takeNext(), 'A');
    EXPECT_TRUE(buffer.takeBackLast());
    EXPECT_FALSE(buffer.takeBackLast()) << "A is already on the air";
    EXPECT_EQ(buffer.takeNext(), std::nullopt);
}

// A typist and the keying thread at full speed: every character typed is sent once, in order, and a
// character typed just as the sender stops starts a new one instead of being stranded.
TEST(CwBuffer, NoCharacterIsLostOrStrandedBetweenTypistAndSender)
{
    CwBuffer buffer;
    std::string sent;
    std::vector<std::thread> senders;
    std::mutex sentMutex;
    const auto runSender = [&] {
        while (const auto c = buffer.takeNext()) {
            std::lock_guard lock(sentMutex);
            sent += *c;
        }
    };
    std::string typed;
    for (int i = 0; i < 5000; ++i) {
        const char c = static_cast<char>('A' + i % 26);
        typed += c;
        if (buffer.append(std::string(1, c))) {
            senders.emplace_back(runSender);
        }
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    EXPECT_EQ(sent, typed);
    EXPECT_FALSE(buffer.isSending());
}

} // namespace
} // namespace brindle
