#include "log/CallIndex.h"

#include "common/Text.h"
#include "log/LogFormat.h"
#include "log/Statistics.h"
#include "log/WorkingLog.h"
#include "os/PosixFileSystem.h"
#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

using test::TempFolder;

// --- The answers as a pass over the whole log gives them ---------------------------------------------

DupeCheckResult linearDuplicateCheck(const ContestLog& log, std::string_view call, std::string_view currentBand)
{
    DupeCheckResult result;
    const std::vector<QsoRecord>& records = log.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QsoRecord& record = records[i];
        if (!equalsIgnoreCase(record.call, call)) {
            continue;
        }
        const int number = static_cast<int>(i) + 1;
        result.previous.push_back(number);
        if (!result.section && !record.section.empty()) {
            result.section = record.section;
        }
        if (equalsIgnoreCase(record.band, currentBand)) {
            result.duplicate = number;
            break;
        }
    }
    return result;
}

PartialSearchOutcome linearPartialCallSearch(const ContestLog& log, std::string_view currentBand,
    std::string_view fieldText, int key, bool partialDupesOn, bool timeOn)
{
    const auto isArea = [](char c) { return c >= '/' && c <= '9'; };
    PartialSearchOutcome outcome;
    const bool callKey = key >= 46 && key <= 90;
    std::string partial(fieldText);
    partial += static_cast<char>(key);
    if (callKey && partialDupesOn) {
        outcome.searched = true;
        for (const QsoRecord& record : log.records()) {
            if (!startsWithIgnoreCase(record.call, partial) || !equalsIgnoreCase(record.band, currentBand)) {
                continue;
            }
            outcome.list.insert(0, record.call + " ");
            if (outcome.list.size() > 100) {
                break;
            }
        }
    }
    if (fieldText.size() > 2 && !outcome.list.empty()) {
        outcome.dialog = std::string(PossibleDuplicateText);
    } else if (timeOn) {
        outcome.dialog = " ";
    }
    if (partial.size() == 3 && callKey) {
        if (isArea(partial[2]) || isArea(partial[1])) {
            outcome.dialog = " ";
        } else {
            outcome.beep = true;
            outcome.dialog = std::string(NotNumericText);
        }
    }
    return outcome;
}

bool linearWorkedOnBand(const ContestLog& log, std::string_view call, std::string_view band)
{
    const std::vector<QsoRecord>& records = log.records();
    return std::any_of(records.begin(), records.end(),
        [&](const QsoRecord& r) { return r.band == band && equalsIgnoreCase(r.call, call); });
}

// --- Random logs ------------------------------------------------------------------------------------

// Stations worked again and again, in either case, portable and long enough to share the index's first
// eight characters with each other; damaged ones with a zero character, which the index pads with.
const std::vector<std::string> StationCalls = {
    "W1AW",
    "w1aw",
    "W1AW/4",
    "w1aw/4",
    "W1AW/40",
    "VP2V/W6",
    "vp2v/w6",
    "VP2V/W6X",
    "KP2/W1AW",
    "KP2/W1AWX",
    "kp2/w1awx",
    "VE3ABCDEFG",
    "VE3ABCDEFGH",
    "ve3abcdefgh",
    "K1AB",
    "K1ABC",
    "K1A",
    "K",
    "KB1ZZ",
    "N0",
    "AA9XYZ",
    "W1AW ",
    " W1AW",
    "",
    "W[1]",
    "w{1}",
    "@W1",
    "`W1",
    "\xe9W1",
    "\xc9W1",
    "W1",
    std::string("W1\0", 3),
    std::string("w1\0ab", 5),
    std::string("W1\0\0\0\0\0\0Z", 9),
};

const std::vector<std::string> BandTexts = { "160", "80", "40", "20", "15", "10", "20M", "sat", "SAT", "" };
const std::vector<std::string> SectionTexts = { "", "MA", "ct", "ONE", "" };

std::string randomCall(std::mt19937& random)
{
    const std::string& base = StationCalls[random() % StationCalls.size()];
    if (random() % 4 != 0) {
        return base;
    }
    // Now and then a call met only once, of the sample log's kind.
    return test::sampleRecord(static_cast<int>(random() % 5000)).call;
}

QsoRecord randomRecord(std::mt19937& random)
{
    QsoRecord record = test::sampleRecord(static_cast<int>(random() % 5000));
    record.call = randomCall(random);
    record.band = BandTexts[random() % BandTexts.size()];
    record.section = SectionTexts[random() % SectionTexts.size()];
    return record;
}

ContestLog randomLog(std::mt19937& random, int count)
{
    ContestLog log;
    for (int i = 0; i < count; ++i) {
        log.append(randomRecord(random));
    }
    return log;
}

// The calls of the log and of the stations, as they are and in the other case, and calls never worked.
std::vector<std::string> probeCalls(const ContestLog& log)
{
    std::vector<std::string> probes = StationCalls;
    for (int number = 1; number <= log.count(); number += 7) {
        probes.push_back(log.record(number).call);
    }
    const std::size_t logged = probes.size();
    for (std::size_t i = 0; i < logged; ++i) {
        std::string swapped = probes[i];
        for (char& c : swapped) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            } else if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        probes.push_back(swapped);
    }
    for (const char* never : { "DL1ZQ", "W1AX", "W1A", "VP2V/W", "KP2/W1A", "VE3ABCDEFGHI", "ZZ" }) {
        probes.push_back(never);
    }
    return probes;
}

// Every probe on every band, and the partial search of the texts the probes are typed through.
void expectIndexAnswersAsTheLogDoes(const ContestLog& log, const CallIndex& calls, const std::string& label)
{
    ASSERT_EQ(calls.count(), log.count()) << label;
    const std::vector<std::string> probes = probeCalls(log);
    for (const std::string& probe : probes) {
        for (const std::string& band : BandTexts) {
            const DupeCheckResult indexed = duplicateCheck(log, calls, probe, band);
            const DupeCheckResult linear = linearDuplicateCheck(log, probe, band);
            EXPECT_EQ(indexed.duplicate, linear.duplicate) << label << " " << probe << " on " << band;
            EXPECT_EQ(indexed.section, linear.section) << label << " " << probe << " on " << band;
            EXPECT_EQ(indexed.previous, linear.previous) << label << " " << probe << " on " << band;
            EXPECT_EQ(workedOnBand(log, calls, probe, band), linearWorkedOnBand(log, probe, band))
                << label << " " << probe << " on " << band;
        }
    }
    for (std::size_t i = 0; i < probes.size(); i += 3) {
        const std::string& probe = probes[i];
        for (std::size_t typed = 0; typed < probe.size(); ++typed) {
            const std::string field = probe.substr(0, typed);
            const int key = static_cast<unsigned char>(toUpperAscii(probe.substr(typed, 1))[0]);
            for (const std::string& band : { std::string("20"), std::string("sat"), std::string("10") }) {
                const PartialSearchOutcome indexed = partialCallSearch(log, calls, band, field, key, true, true);
                const PartialSearchOutcome linear = linearPartialCallSearch(log, band, field, key, true, true);
                const std::string what = label + " " + field + " + " + std::to_string(key) + " on " + band;
                EXPECT_EQ(indexed.searched, linear.searched) << what;
                EXPECT_EQ(indexed.list, linear.list) << what;
                EXPECT_EQ(indexed.dialog, linear.dialog) << what;
                EXPECT_EQ(indexed.beep, linear.beep) << what;
            }
        }
    }
}

// --- The index on its own ---------------------------------------------------------------------------

TEST(CallIndex, builtAtOnceOrRecordByRecordAnswersAsTheLogDoes)
{
    std::mt19937 random(20260221);
    for (const int size : { 0, 1, 40, 300, 1200 }) {
        const ContestLog log = randomLog(random, size);
        expectIndexAnswersAsTheLogDoes(log, CallIndex(log), "built, " + std::to_string(size));

        ContestLog grown;
        CallIndex calls;
        for (const QsoRecord& record : log.records()) {
            grown.append(record);
            calls.addNewest(grown);
        }
        expectIndexAnswersAsTheLogDoes(grown, calls, "grown, " + std::to_string(size));
    }
}

TEST(CallIndex, findsEveryContactWithAStationInLogOrderWhateverTheCase)
{
    const ContestLog log = test::logOf({
        test::sampleRecord(1),
        [] {
            QsoRecord r = test::sampleRecord(2);
            r.call = "VP2V/W6";
            return r;
        }(),
        [] {
            QsoRecord r = test::sampleRecord(3);
            r.call = "vp2v/w6";
            return r;
        }(),
        [] {
            QsoRecord r = test::sampleRecord(4);
            r.call = "VP2V/W6X";
            return r;
        }(),
    });
    const CallIndex calls(log);
    EXPECT_EQ(calls.contactsWith(log, "Vp2v/W6"), (std::vector<int> { 2, 3 }));
    EXPECT_EQ(calls.contactsWith(log, "VP2V/W"), std::vector<int> {});
    // All three on the same band: the lowest numbers first, none at or below the one given.
    EXPECT_EQ(calls.firstBeginningWith(log, "vp2v", log.record(2).band, 5, 0), (std::vector<int> { 2, 3, 4 }));
    EXPECT_EQ(calls.firstBeginningWith(log, "vp2v", log.record(2).band, 2, 0), (std::vector<int> { 2, 3 }));
    EXPECT_EQ(calls.firstBeginningWith(log, "vp2v", log.record(2).band, 5, 2), (std::vector<int> { 3, 4 }));
    EXPECT_EQ(calls.firstBeginningWith(log, "vp2v", "20", 5, 0), std::vector<int> {});
}

TEST(CallIndex, holdsSixteenBytesAContact)
{
    const CallIndex calls(test::sampleLog(ContestLog::Capacity));
    EXPECT_EQ(calls.bytesHeld(), 16u * ContestLog::Capacity);
}

// --- Kept in step by the working log ----------------------------------------------------------------

class CallIndexInWorkingLogTest : public testing::Test
{
protected:
    void expectInStep(const std::string& label)
    {
        expectIndexAnswersAsTheLogDoes(m_log.log(), m_log.calls(), label);
    }

    TempFolder m_folder;
    PosixFileSystem m_fs;
    WorkingLog m_log { m_fs, m_folder.file("log.txt") };
};

TEST_F(CallIndexInWorkingLogTest, followsAppendsRewritesReloadsAndErasure)
{
    std::mt19937 random(1400);
    ASSERT_TRUE(m_log.rewrite(randomLog(random, 400)).ok());
    expectInStep("first rewrite");
    for (int round = 0; round < 6; ++round) {
        const std::string label = "round " + std::to_string(round);
        for (int i = 0; i < 12; ++i) {
            ASSERT_TRUE(m_log.append(randomRecord(random)).ok());
        }
        expectInStep(label + ", appended");

        // An edit and a delete, as the contact editor and the delete command hand the log back.
        ContestLog changed = m_log.log();
        const int edited = 1 + static_cast<int>(random() % static_cast<unsigned>(changed.count()));
        QsoRecord record = changed.record(edited);
        record.call = randomCall(random);
        record.band = BandTexts[random() % BandTexts.size()];
        changed.replace(edited, record);
        changed.remove(1 + static_cast<int>(random() % static_cast<unsigned>(changed.count())));
        ASSERT_TRUE(m_log.rewrite(changed).ok());
        expectInStep(label + ", rewritten");

        // The file changed behind the log's back, as a restore leaves it, and read again.
        ContestLog onDisk = randomLog(random, 250 + static_cast<int>(random() % 200));
        test::writeBytes(m_folder.file("log.txt"), formatLog(onDisk));
        ASSERT_EQ(m_log.load(), std::nullopt);
        expectInStep(label + ", reloaded");
    }
    ASSERT_TRUE(m_log.erase().ok());
    expectInStep("erased");
    ASSERT_TRUE(m_log.append(randomRecord(random)).ok());
    expectInStep("appended after erasure");
}

} // namespace
} // namespace brindle
