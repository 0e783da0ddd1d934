#include "BandPlanModes.h"

namespace brindle {

namespace {

constexpr std::string_view ModeClass = "E";
constexpr std::string_view PhoneSegmentMode = "PH";

bool lowerSidebandBand(std::string_view band)
{
    return band == "80" || band == "60" || band == "40";
}

} // namespace

BandPlanModes::BandPlanModes(const BandPlan& plan)
{
    for (const BandPlanRecord& record : plan.records) {
        if (m_records.size() == BandPlanMaxRecords) {
            break;
        }
        if (record.licenceClass == ModeClass) {
            m_records.push_back(record);
        }
    }
}

std::string BandPlanModes::bandPlanMode(Hertz hertz) const
{
    // The plan's edges are single precision, and compared as such: a frequency typed as an edge is the
    // edge, and belongs to neither segment.
    const auto mhz = static_cast<float>(static_cast<double>(hertz) / 1e6);
    for (const BandPlanRecord& record : m_records) {
        if (!(record.start < mhz && mhz < record.end)) {
            continue;
        }
        if (record.band == "160") {
            return {};
        }
        if (record.mode == PhoneSegmentMode) {
            return lowerSidebandBand(record.band) ? "LSB" : "USB";
        }
        return record.mode;
    }
    return {};
}

BandPlanModes loadBandPlanModes(FileSystem& fs, const std::string& folder)
{
    return BandPlanModes(readBandPlan(fs, folder).plan);
}

} // namespace brindle
