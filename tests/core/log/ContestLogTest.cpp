#include "log/ContestLog.h"

#include "support/LogSamples.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

using test::sampleLog;
using test::sampleRecord;

TEST(ContestLog, appendNumbersRecordsFromOne)
{
    ContestLog log;
    EXPECT_EQ(log.count(), 0);
    ASSERT_TRUE(log.append(sampleRecord(0)));
    ASSERT_TRUE(log.append(sampleRecord(1)));
    EXPECT_EQ(log.count(), 2);
    EXPECT_EQ(log.record(1), sampleRecord(0));
    EXPECT_EQ(log.record(2), sampleRecord(1));
}

TEST(ContestLog, deletingRecordFiveOfTenMovesTheLaterOnesDown)
{
    ContestLog log = sampleLog(10);
    log.remove(5);
    ASSERT_EQ(log.count(), 9);
    for (int number = 1; number <= 4; ++number) {
        EXPECT_EQ(log.record(number), sampleRecord(number - 1)) << number;
    }
    for (int number = 5; number <= 9; ++number) {
        EXPECT_EQ(log.record(number), sampleRecord(number)) << number;
    }
}

TEST(ContestLog, deletingTheFirstAndTheLastRecord)
{
    ContestLog log = sampleLog(3);
    log.remove(3);
    log.remove(1);
    ASSERT_EQ(log.count(), 1);
    EXPECT_EQ(log.record(1), sampleRecord(1));
}

TEST(ContestLog, replaceChangesOnlyThatRecord)
{
    ContestLog log = sampleLog(3);
    QsoRecord edited = log.record(2);
    edited.section = "NWT";
    log.replace(2, edited);
    EXPECT_EQ(log.record(1), sampleRecord(0));
    EXPECT_EQ(log.record(2), edited);
    EXPECT_EQ(log.record(3), sampleRecord(2));
}

TEST(ContestLog, aFullLogRefusesAnotherRecordAndStaysAsItWas)
{
    ContestLog log = sampleLog(ContestLog::Capacity - 1);
    EXPECT_FALSE(log.isFull());
    ASSERT_TRUE(log.append(sampleRecord(ContestLog::Capacity - 1)));
    EXPECT_TRUE(log.isFull());
    const ContestLog before = log;

    EXPECT_FALSE(log.append(sampleRecord(99999)));
    EXPECT_EQ(log.count(), 12000);
    EXPECT_EQ(log, before);
}

TEST(ContestLog, clearEmptiesTheLog)
{
    ContestLog log = sampleLog(5);
    log.clear();
    EXPECT_EQ(log.count(), 0);
    EXPECT_TRUE(log.records().empty());
    ASSERT_TRUE(log.append(sampleRecord(7)));
    EXPECT_EQ(log.record(1), sampleRecord(7));
}

} // namespace
} // namespace brindle
