#include "common/FieldReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using Status = FieldReader::Status;

// One call of next(): what it returned and, when Ok, the field it read.
struct Step
{
    Status status;
    std::string text;
    bool quoted = false;

    bool operator==(const Step&) const = default;
};

void PrintTo(const Step& step, std::ostream* os)
{
    static const char* const names[] = { "Ok", "PastEnd", "UnterminatedQuote", "TextAfterQuote" };
    *os << names[static_cast<int>(step.status)];
    if (step.status == Status::Ok) {
        *os << (step.quoted ? " \"" : " [") << step.text << (step.quoted ? "\"" : "]");
    }
}

// Reads until the first status other than Ok.
std::vector<Step> readAll(std::string_view data)
{
    FieldReader reader(data);
    std::vector<Step> steps;
    for (;;) {
        FieldReader::Field field;
        const Status status = reader.next(field);
        steps.push_back(status == Status::Ok ? Step { status, field.text, field.quoted } : Step { status, {} });
        if (status != Status::Ok || steps.size() > 20) {
            return steps;
        }
    }
}

Step quoted(std::string text)
{
    return { Status::Ok, std::move(text), true };
}
Step bare(std::string text)
{
    return { Status::Ok, std::move(text), false };
}
const Step pastEnd { Status::PastEnd, {} };
const Step unterminated { Status::UnterminatedQuote, {} };
const Step textAfterQuote { Status::TextAfterQuote, {} };

struct ReaderCase
{
    const char* name;
    std::string data;
    std::vector<Step> expected;
};

void PrintTo(const ReaderCase& c, std::ostream* os)
{
    *os << c.name;
}

class FieldReaderCases : public testing::TestWithParam<ReaderCase>
{
};

TEST_P(FieldReaderCases, readsFieldsInOrder)
{
    EXPECT_EQ(readAll(GetParam().data), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(FieldReader, FieldReaderCases,
    testing::Values(ReaderCase { "quotedFieldKeepsCommas", "\"Korea, Republic of\",\"x\"",
                        { quoted("Korea, Republic of"), quoted("x"), pastEnd } },
        ReaderCase { "quotedFieldKeepsBlanksInside", "\"  a b  \"", { quoted("  a b  "), pastEnd } },
        ReaderCase { "crLfSeparatesFields", "a\r\nb\r\n", { bare("a"), bare("b"), pastEnd } },
        ReaderCase { "lfAloneSeparatesFields", "a\nb\n", { bare("a"), bare("b"), pastEnd } },
        ReaderCase { "crAloneSeparatesFields", "a\rb\r", { bare("a"), bare("b"), pastEnd } },
        ReaderCase {
            "quotedFieldsAcrossCrLf", "\"a\",\"b\"\r\n\"c\"", { quoted("a"), quoted("b"), quoted("c"), pastEnd } },
        ReaderCase { "unquotedFieldIsTrimmed", "  K1 AB \t,\t599  ", { bare("K1 AB"), bare("599"), pastEnd } },
        ReaderCase { "blanksBeforeOpeningQuoteSkipped", "  \"a\",\t\"b\"", { quoted("a"), quoted("b"), pastEnd } },
        ReaderCase { "blanksAfterClosingQuoteAllowed", "\"a\"  ,\"b\" \t\r\n", { quoted("a"), quoted("b"), pastEnd } },
        ReaderCase { "emptyQuotedFields", "\"\",\"\"", { quoted(""), quoted(""), pastEnd } },
        ReaderCase { "emptyUnquotedFieldBetweenCommas", "a,,b", { bare("a"), bare(""), bare("b"), pastEnd } },
        ReaderCase { "trailingCommaAnnouncesEmptyField", "a,", { bare("a"), bare(""), pastEnd } },
        ReaderCase { "trailingCommaThenBlanksAnnouncesEmptyField", "a,  ", { bare("a"), bare(""), pastEnd } },
        ReaderCase { "lineEndAtTheEndAnnouncesNothing", "\"a\"\r\n", { quoted("a"), pastEnd } },
        ReaderCase { "emptyDataIsPastEnd", "", { pastEnd } },
        ReaderCase {
            "eightBitBytesKept", "\"\xC5land\",\xE9t\xE9", { quoted("\xC5land"), bare("\xE9t\xE9"), pastEnd } },
        ReaderCase { "textAfterClosingQuote", "\"K1\"AB,\"599\"", { textAfterQuote } },
        ReaderCase { "secondQuoteRightAfterClosingQuote", "\"MA\"\",\"599\"", { textAfterQuote } },
        ReaderCase { "unterminatedQuote", "\"a\",\"b", { quoted("a"), unterminated } },
        ReaderCase { "unterminatedQuoteAcrossLines", "\"a\r\nb,c", { unterminated } }),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(FieldReader, skipBlankLinesPassesLineEndsAndBlanksOnly)
{
    FieldReader reader("a\r\n\r\n  \n\t\r\n\"b\",c");
    FieldReader::Field field;
    ASSERT_EQ(reader.next(field), Status::Ok);
    reader.skipBlankLines();
    ASSERT_EQ(reader.next(field), Status::Ok);
    EXPECT_EQ(field.text, "b");
    reader.skipBlankLines();
    ASSERT_EQ(reader.next(field), Status::Ok);
    EXPECT_EQ(field.text, "c");
    EXPECT_TRUE(reader.atEnd());
}

} // namespace
} // namespace brindle
