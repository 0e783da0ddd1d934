#include "common/KeyFilters.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace brindle {
namespace {

// The CW keyer's word-space field takes a sign and a decimal point, its loop seconds a decimal point.
TEST(KeyFilters, DigitsAndTheGivenCharactersPassEverythingElseIsDropped)
{
    for (int key : std::initializer_list<int> { '0', '9', '-', '.', KeyBackspace }) {
        EXPECT_EQ(digitsAnd(key, "-."), key) << key;
    }
    for (int key : std::initializer_list<int> { '/', ',', 'e', '+', ' ', '"', KeyReturn, 0xAD, 0x2D + 0x100 }) {
        EXPECT_EQ(digitsAnd(key, "-."), 0) << key;
    }
    EXPECT_EQ(digitsAnd('-', "."), 0);
}

} // namespace
} // namespace brindle
