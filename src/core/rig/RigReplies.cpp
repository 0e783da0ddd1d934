#include "RigReplies.h"

#include "common/FieldReader.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "rig/RigProfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace brindle {

namespace {

constexpr std::size_t NotFound = std::string_view::npos;

unsigned byteAt(std::string_view buffer, std::size_t index)
{
    return static_cast<unsigned char>(buffer[index]);
}

// Hex digit k of the buffer's hex text, counted from 0: the high half of a byte comes first.
unsigned nibbleAt(std::string_view buffer, std::size_t k)
{
    const unsigned byte = byteAt(buffer, k / 2);
    return k % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

// Hex digits first to last (counted from 0) as a binary number; nothing when the buffer ends before them.
std::optional<std::uint64_t> hexNumber(std::string_view buffer, std::size_t first, std::size_t last)
{
    if (last / 2 >= buffer.size()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (std::size_t k = first; k <= last; ++k) {
        value = value * 16 + nibbleAt(buffer, k);
    }
    return value;
}

// A byte's two hex digits read as a decimal number, as BCD is: nothing when either is A to F.
std::optional<unsigned> bcdByte(unsigned byte)
{
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9) {
        return std::nullopt;
    }
    return (byte >> 4) * 10 + (byte & 0x0F);
}

// Bytes of the buffer as BCD digits in the order given, most significant first.
template <std::size_t N>
std::optional<std::uint64_t> bcdNumber(std::string_view buffer, std::array<std::size_t, N> bytes)
{
    std::uint64_t value = 0;
    for (const std::size_t index : bytes) {
        if (index >= buffer.size()) {
            return std::nullopt;
        }
        const std::optional<unsigned> pair = bcdByte(byteAt(buffer, index));
        if (!pair) {
            return std::nullopt;
        }
        value = value * 100 + *pair;
    }
    return value;
}

// A count of some unit as MHz at the display's 10 Hz step; a half step goes to the even one. Dividing
// the count first keeps the halves exact, where rounding the MHz would meet 14.025005 as 14.0250049….
std::optional<float> megahertz(double units, double unitsPerMHz)
{
    const double mhz = std::nearbyint(units / (unitsPerMHz / 100'000)) / 100'000;
    if (!(mhz >= 0) || mhz > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(mhz);
}

// How a rig fills the front of a fixed-width number field. Most write leading zeros; the Orion writes
// blanks, so below 10 MHz its frequency comes as "@AF 7025000".
enum class Padding
{
    Zeros,
    Blanks,
};

// Digits of hertz as the rig sends them. A sign, a point, an exponent or a blank anywhere but in front of
// a blank-padded field is no part of such a field and means a damaged reply.
std::optional<float> megahertzFromDigits(std::string_view hertz, Padding padding)
{
    if (padding == Padding::Blanks) {
        hertz.remove_prefix(std::min(hertz.find_first_not_of(' '), hertz.size()));
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (hertz.empty() || !std::all_of(hertz.begin(), hertz.end(), isDigit)) {
        return std::nullopt;
    }
    const std::optional<double> value = parseDecimal(hertz);
    return value ? megahertz(*value, 1'000'000) : std::nullopt;
}

// The count characters at offset from where the search text first begins; nothing when the search text is
// not in the buffer or the buffer ends before them. An empty search text finds nothing: the poll that would
// have asked for it is empty too.
std::optional<std::string_view> fieldAfter(
    std::string_view buffer, std::string_view search, std::size_t offset, std::size_t count)
{
    const std::size_t p = search.empty() ? NotFound : buffer.find(search);
    if (p == NotFound || buffer.size() < p + offset + count) {
        return std::nullopt;
    }
    return buffer.substr(p + offset, count);
}

// Kenwood's eleven digits of hertz after the search text. They count only once a character follows them:
// before the ";" arrives, the last digit may still be on its way.
std::optional<float> kenwoodHertz(std::string_view buffer, std::string_view search)
{
    const std::optional<std::string_view> digits = fieldAfter(buffer, search, 2, 12);
    return digits ? megahertzFromDigits(digits->substr(0, 11), Padding::Zeros) : std::nullopt;
}

std::string_view cwOrPhone(bool cw)
{
    return cw ? ModeCW : ModePhone;
}

// The mode code at offset from the search text: one of the CW codes is CW, any other phone.
std::optional<std::string_view> modeAfter(
    std::string_view buffer, std::string_view search, std::size_t offset, std::string_view cwCodes)
{
    const std::optional<std::string_view> code = fieldAfter(buffer, search, offset, 1);
    if (!code) {
        return std::nullopt;
    }
    return cwOrPhone(cwCodes.find(code->front()) != std::string_view::npos);
}

// The mode digit shared by the Yaesu status records: 2 is CW, 0 to 7 otherwise phone (LSB, USB, AM, FM,
// the digital modes), anything above is no mode the logger knows.
std::optional<std::string_view> yaesuStatusMode(unsigned digit)
{
    if (digit > 7) {
        return std::nullopt;
    }
    return cwOrPhone(digit == 2);
}

enum class CivState
{
    Idle,
    AfterFirstFe,
    AfterSecondFe,
    InFrame,
};

constexpr unsigned CivPreamble = 0xFE;
constexpr unsigned CivEnd = 0xFD;
constexpr unsigned CivFrequencyCommand = 0x03;
constexpr unsigned CivModeCommand = 0x04;

// Hands the data of every frame carrying the command to onFrame, in buffer order, until onFrame says it has
// enough. A frame counts once its end byte has come: the rest of a frame cut short would read as another
// number.
template <class OnFrame> void walkCivFrames(std::string_view buffer, unsigned command, OnFrame onFrame)
{
    CivState state = CivState::Idle;
    std::size_t dataStart = 0;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const unsigned c = byteAt(buffer, i);
        switch (state) {
        case CivState::Idle:
            state = c == CivPreamble ? CivState::AfterFirstFe : CivState::Idle;
            break;
        case CivState::AfterFirstFe:
            state = c == CivPreamble ? CivState::AfterSecondFe : CivState::Idle;
            if (state == CivState::AfterSecondFe) {
                i += 2; // the addresses: who it is for and who sent it, ours or the rig's
            }
            break;
        case CivState::AfterSecondFe:
            state = c == command ? CivState::InFrame : CivState::Idle;
            dataStart = i + 1;
            break;
        case CivState::InFrame:
            if (c == CivEnd) {
                state = CivState::Idle;
                if (!onFrame(buffer.substr(dataStart, i - dataStart))) {
                    return;
                }
            }
            break;
        }
    }
}

} // namespace

std::string hexText(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::size_t k = 0; k < bytes.size() * 2; ++k) {
        text += Digits[nibbleAt(bytes, k)];
    }
    return text;
}

std::optional<float> decodeKenwoodFrequency(std::string_view buffer, std::string_view frequencyPoll)
{
    if (frequencyPoll.size() < 3) {
        return std::nullopt;
    }
    return kenwoodHertz(buffer, frequencyPoll.substr(0, 2));
}

std::optional<std::string_view> decodeKenwoodMode(std::string_view buffer)
{
    return modeAfter(buffer, "MD", 2, "37");
}

DecodedReply decodeKenwoodIf(std::string_view buffer)
{
    DecodedReply read;
    if (!(read.freqMHz = kenwoodHertz(buffer, "IF"))) {
        return read;
    }
    if (!(read.mode = modeAfter(buffer, "IF", 29, "3"))) {
        return read;
    }
    const std::optional<std::string_view> vfo = fieldAfter(buffer, "IF", 30, 1);
    if (vfo && vfo->front() >= '0' && vfo->front() <= '9') {
        read.vfoDigit = vfo->front() - '0';
    }
    return read;
}

std::optional<float> decodeCivFrequency(std::string_view buffer, CivFrequencyBytes bytes)
{
    // Only the last five data bytes can reach the digits that are read, so a buffer of many frames costs
    // no more room than one.
    std::array<unsigned, 5> last {};
    std::size_t count = 0;
    walkCivFrames(buffer, CivFrequencyCommand, [&](std::string_view data) {
        for (const char c : data) {
            std::copy_backward(last.begin(), last.end() - 1, last.end());
            last[0] = static_cast<unsigned char>(c);
            ++count;
        }
        return true;
    });
    if (count == 0) {
        return std::nullopt;
    }
    // The digits stand most significant byte first: the last byte received leads. The first four digits are whole
    // MHz (with leading zeros), up to six more the fraction; a shorter text is all whole MHz.
    const std::size_t digitCount = 2 * std::min(count, last.size());
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < digitCount / 2; ++k) {
        const std::optional<unsigned> pair = bcdByte(last[k]);
        if (!pair) {
            return std::nullopt;
        }
        value = value * 100 + *pair;
    }
    static constexpr std::array<double, 4> FractionScale = { 1, 100, 10'000, 1'000'000 };
    double mhz = static_cast<double>(value) / FractionScale[digitCount > 4 ? (digitCount - 4) / 2 : 0];
    if (bytes == CivFrequencyBytes::Four) {
        mhz /= 100;
    }
    return static_cast<float>(mhz);
}

std::optional<std::string_view> decodeCivMode(std::string_view buffer)
{
    std::optional<std::string_view> mode;
    // An echo of our request carries no data; the rig's answer after it does.
    walkCivFrames(buffer, CivModeCommand, [&mode](std::string_view data) {
        if (!data.empty()) {
            mode = cwOrPhone(byteAt(data, 0) == 0x03);
        }
        return !mode;
    });
    return mode;
}

DecodedReply decodeYaesuBcd(std::string_view buffer)
{
    DecodedReply read;
    if (buffer.size() < 5) {
        return read;
    }
    const std::optional<unsigned> code = bcdByte(byteAt(buffer, 4));
    const std::optional<std::uint64_t> tensOfHertz = bcdNumber<4>(buffer, { 0, 1, 2, 3 });
    if (!code || !tensOfHertz) {
        return read;
    }
    read.freqMHz = megahertz(static_cast<double>(*tensOfHertz), 100'000);
    switch (*code) {
    case 0: // LSB
    case 1: // USB
    case 4: // AM
    case 8: // FM
    case 84: // AM narrow
    case 88: // FM narrow
        read.mode = ModePhone;
        break;
    case 2: // CW
    case 3: // CW reverse
    case 82: // CW narrow
    case 83: // CW reverse narrow
        read.mode = ModeCW;
        break;
    default:
        break;
    }
    return read;
}

DecodedReply decodeYaesu757Status(std::string_view buffer)
{
    DecodedReply read;
    const std::optional<std::uint64_t> tensOfHertz = bcdNumber<4>(buffer, { 8, 7, 6, 5 });
    if (!tensOfHertz || !(read.freqMHz = megahertz(static_cast<double>(*tensOfHertz), 100'000))) {
        return read;
    }
    if (buffer.size() < 10) {
        return read;
    }
    static constexpr std::array<std::string_view, 6> Modes = { ModePhone, ModePhone, ModeCW, ModeCW, ModeAM, ModeFM };
    const std::optional<unsigned> code = bcdByte(byteAt(buffer, 9));
    if (code && *code < Modes.size()) {
        read.mode = Modes[*code];
    }
    return read;
}

DecodedReply decodeYaesuStatus(std::string_view buffer, YaesuStatusLayout layout)
{
    struct Layout
    {
        std::size_t firstDigit; // hex digits, counted from 0
        std::size_t lastDigit;
        double unitsPerMHz;
    };
    static constexpr Layout Ft890 { 4, 9, 100'000 };
    static constexpr Layout Ft920 { 2, 9, 1'000'000 };
    static constexpr Layout Ft990 { 2, 7, 100'000 };
    static constexpr Layout Ft1000 { 3, 8, 100'000 };
    const Layout& at = layout == YaesuStatusLayout::Ft890 ? Ft890
        : layout == YaesuStatusLayout::Ft920              ? Ft920
        : layout == YaesuStatusLayout::Ft990              ? Ft990
                                                          : Ft1000;
    DecodedReply read;
    if (buffer.size() < 5) {
        return read;
    }
    const std::optional<std::uint64_t> units = hexNumber(buffer, at.firstDigit, at.lastDigit);
    if (!units || !(read.freqMHz = megahertz(static_cast<double>(*units), at.unitsPerMHz))) {
        return read;
    }
    constexpr std::size_t ModeDigit = 15;
    if (buffer.size() <= ModeDigit / 2) {
        return read;
    }
    const unsigned digit = nibbleAt(buffer, ModeDigit);
    read.mode = layout == YaesuStatusLayout::Ft920 ? std::optional(cwOrPhone(digit == 1)) : yaesuStatusMode(digit);
    return read;
}

DecodedReply decodeFtdx9000(std::string_view buffer, std::string_view frequencyPoll, std::string_view modePoll)
{
    DecodedReply read;
    // Eight digits, all of them: a reply cut short would read ten or a hundred times too low.
    const std::optional<std::string_view> digits = fieldAfter(buffer, frequencyPoll.substr(0, 2), 2, 8);
    if (digits) {
        read.freqMHz = megahertzFromDigits(*digits, Padding::Zeros);
        if (!read.freqMHz) {
            return read;
        }
    }
    read.mode = modeAfter(buffer, modePoll.substr(0, 3), 3, "3");
    return read;
}

std::optional<float> decodeTenTecPanelFrequency(std::string_view buffer)
{
    // A reply cut short would give a frequency a thousand times too low: all four bytes must be there.
    const std::optional<std::uint64_t> hertz = hexNumber(buffer, 2, 9);
    return hertz ? megahertz(static_cast<double>(*hertz), 1'000'000) : std::nullopt;
}

std::optional<std::string_view> decodeTenTecPanelMode(std::string_view buffer)
{
    if (buffer.size() < 3) {
        return std::nullopt;
    }
    switch (nibbleAt(buffer, 3)) {
    case 0: // AM
    case 1: // USB
    case 2: // LSB
    case 4: // FM
        return ModePhone;
    case 3:
        return ModeCW;
    default:
        return std::nullopt;
    }
}

std::optional<float> decodeOrionFrequency(std::string_view buffer)
{
    const std::size_t p = buffer.find("@AF");
    if (p == NotFound) {
        return std::nullopt;
    }
    const std::size_t end = buffer.find('\r', p);
    if (end == NotFound) {
        return std::nullopt;
    }
    // Only the CR says the field is whole; the blanks in front of a short frequency cannot.
    return megahertzFromDigits(buffer.substr(p + 3, end - p - 3), Padding::Blanks);
}

std::optional<std::string_view> decodeOrionMode(std::string_view buffer)
{
    return modeAfter(buffer, "@RMM", 4, "23");
}

DecodedReply readPegasusReply(std::string_view fileText)
{
    DecodedReply read;
    FieldReader reader(fileText);
    const std::optional<double> mhz = reader.nextNumber();
    if (!mhz || *mhz < 0 || *mhz > std::numeric_limits<float>::max()) {
        return read;
    }
    read.freqMHz = static_cast<float>(*mhz);
    const std::optional<std::string> mode = reader.nextText();
    if (mode && !mode->empty()) {
        read.mode = cwOrPhone(*mode == ModeCW);
    }
    return read;
}

std::optional<std::string_view> modeFromFrequency(float freqMHz)
{
    // CW below the split, phone above it; 30 m has no phone part.
    struct Segments
    {
        float low;
        float split;
        float high;
    };
    static constexpr std::array<Segments, 10> Bands = { {
        { 3.5f, 3.6f, 4.0f },
        { 7.0f, 7.125f, 7.3f },
        { 10.1f, 10.15f, 10.15f },
        { 14.0f, 14.15f, 14.35f },
        { 18.068f, 18.11f, 18.168f },
        { 21.0f, 21.2f, 21.45f },
        { 24.89f, 24.93f, 24.99f },
        { 28.0f, 28.3f, 29.7f },
        { 50.0f, 50.1f, 54.0f },
        { 144.0f, 144.1f, 148.0f },
    } };
    for (const Segments& band : Bands) {
        if (band.low < freqMHz && freqMHz < band.split) {
            return ModeCW;
        }
        if (band.split < freqMHz && freqMHz < band.high) {
            return ModePhone;
        }
    }
    return std::nullopt;
}

namespace {

// The families that ask in turn read the answer to what was asked last.
DecodedReply civReply(const RigReply& reply, CivFrequencyBytes bytes)
{
    if (reply.askedFrequency) {
        return { decodeCivFrequency(reply.buffer, bytes), {}, {} };
    }
    return { {}, decodeCivMode(reply.buffer), {} };
}

DecodedReply tenTecPanelReply(const RigReply& reply)
{
    if (reply.askedFrequency) {
        return { decodeTenTecPanelFrequency(reply.buffer), {}, {} };
    }
    return { {}, decodeTenTecPanelMode(reply.buffer), {} };
}

} // namespace

DecodedReply decodeRigReply(std::string_view rigName, const RigReply& reply)
{
    // The rig is found as the poll finds it, so whatever is polled is decoded too.
    switch (rigModel(rigName)) {
    case RigModel::Kenwood:
    case RigModel::Elecraft:
        return { decodeKenwoodFrequency(reply.buffer, reply.frequencyPoll), decodeKenwoodMode(reply.buffer), {} };
    case RigModel::Kenwood2:
        return decodeKenwoodIf(reply.buffer);
    case RigModel::Icom:
    case RigModel::OmniVi:
        return civReply(reply, CivFrequencyBytes::Five);
    case RigModel::Icom735:
        return civReply(reply, CivFrequencyBytes::Four);
    case RigModel::Yaesu:
        return decodeYaesuBcd(reply.buffer);
    case RigModel::Yaesu757:
        return decodeYaesu757Status(reply.buffer);
    case RigModel::Yaesu890:
        return decodeYaesuStatus(reply.buffer, YaesuStatusLayout::Ft890);
    case RigModel::Yaesu920:
        return decodeYaesuStatus(reply.buffer, YaesuStatusLayout::Ft920);
    case RigModel::Yaesu990:
    case RigModel::Yaesu1000D:
        return decodeYaesuStatus(reply.buffer, YaesuStatusLayout::Ft990);
    case RigModel::Yaesu1000:
        return decodeYaesuStatus(reply.buffer, YaesuStatusLayout::Ft1000);
    case RigModel::Ftdx9000:
        return decodeFtdx9000(reply.buffer, reply.frequencyPoll, reply.modePoll);
    case RigModel::FrontPanel:
        return tenTecPanelReply(reply);
    case RigModel::Orion:
        return { decodeOrionFrequency(reply.buffer), decodeOrionMode(reply.buffer), {} };
    case RigModel::Pegasus:
        return readPegasusReply(reply.buffer);
    case RigModel::None:
    case RigModel::Other:
    case RigModel::Rigctld:
        break;
    }
    return {};
}

void decodeRigReply(std::string_view rigName, const RigReply& reply, RigReading& reading)
{
    const DecodedReply read = decodeRigReply(rigName, reply);
    if (read.freqMHz) {
        reading.freqMHz = read.freqMHz;
    }
    if (read.mode) {
        reading.mode = *read.mode;
    }
    if (read.vfoDigit) {
        reading.vfoDigit = read.vfoDigit;
    }
}

} // namespace brindle
