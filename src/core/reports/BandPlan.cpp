#include "BandPlan.h"

#include "common/FieldReader.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace brindle {

namespace {

constexpr std::size_t FieldsPerRecord = 5;

// Shares of the chart's width and height.
constexpr double BarLeft = 0.10;
constexpr double BarWidth = 0.85;
constexpr double BarHeight = 0.04;
constexpr double NameLeft = 0.04;
constexpr double NameWidth = 0.05;
// The rows share this part of the space below the header line, leaving the rest for the legend.
constexpr double RowsShare = 0.8;

std::optional<BandPlanRecord> readRecord(FieldReader& reader)
{
    std::array<FieldReader::Field, FieldsPerRecord> fields;
    for (FieldReader::Field& field : fields) {
        if (reader.next(field) != FieldReader::Status::Ok) {
            return std::nullopt;
        }
    }
    const std::optional<float> start = parseSingle(trimBlanks(fields[3].text));
    const std::optional<float> end = parseSingle(trimBlanks(fields[4].text));
    if (!start || !end) {
        return std::nullopt;
    }
    return BandPlanRecord { std::move(fields[0].text), std::move(fields[1].text), std::move(fields[2].text), *start,
        *end };
}

std::vector<BandPlanRecord> chartRecords(const std::vector<BandPlanRecord>& records)
{
    const std::size_t kept = std::min(records.size(), BandPlanMaxRecords);
    return std::vector<BandPlanRecord>(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(kept));
}

} // namespace

BandPlanReading parseBandPlan(std::string_view content)
{
    BandPlanReading reading;
    FieldReader reader(content);
    reader.skipBlankLines();
    FieldReader::Field effective;
    if (reader.next(effective) != FieldReader::Status::Ok) {
        return reading;
    }
    reading.plan.effective = std::move(effective.text);
    while (true) {
        reader.skipBlankLines();
        if (reader.atEnd()) {
            reading.complete = true;
            return reading;
        }
        std::optional<BandPlanRecord> record = readRecord(reader);
        if (!record) {
            return reading;
        }
        reading.plan.records.push_back(std::move(*record));
    }
}

BandPlanReading readBandPlan(FileSystem& fs, const std::string& folder)
{
    const Result<std::string> content = fs.readFile(joinPath(folder, BandPlanFileName));
    if (!content) {
        return {};
    }
    return parseBandPlan(content.value());
}

OperatorMessage bandDataNotAvailableMessage()
{
    return { "Band Data Not Available.", "Band data not available." };
}

bool isCwSegment(const BandPlanRecord& record)
{
    return record.mode == CwSegmentMode;
}

std::string formatPlanFrequency(float mhz)
{
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.3f", std::fabs(static_cast<double>(mhz)));
    const std::string text = digits;
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    const std::string fraction = text.substr(point);
    if (whole == "0") {
        whole.clear();
    }
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += whole[i];
    }
    const bool negative = mhz < 0 && text.find_first_not_of("0.") != std::string::npos;
    return (negative ? "-" : "") + grouped + fraction;
}

std::string formatPlanEdges(float start, float end)
{
    return formatPlanFrequency(start) + " - " + formatPlanFrequency(end);
}

std::vector<std::size_t> chartRowRecords(const std::vector<BandPlanRecord>& records, std::string_view licenceClass)
{
    const std::size_t count = std::min(records.size(), BandPlanMaxRecords);
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < count && rows.size() < BandPlanMaxRows; ++i) {
        if (records[i].licenceClass != BandEdgesClass) {
            continue;
        }
        for (std::size_t j = i + 1; j < count && records[j].band == records[i].band; ++j) {
            if (records[j].licenceClass == licenceClass) {
                rows.push_back(i);
                break;
            }
        }
    }
    return rows;
}

BandPlanChart layoutBandPlanChart(
    const std::vector<BandPlanRecord>& allRecords, std::string_view licenceClass, const ChartArea& area)
{
    const std::vector<BandPlanRecord> records = chartRecords(allRecords);
    const std::vector<std::size_t> rowRecords = chartRowRecords(records, licenceClass);
    BandPlanChart chart;
    if (rowRecords.empty()) {
        return chart;
    }
    const double spacing = (area.height - area.headerLine) * RowsShare / static_cast<double>(rowRecords.size());
    const double barHeight = area.height * BarHeight;
    for (std::size_t r = 0; r < rowRecords.size(); ++r) {
        const BandPlanRecord& edges = records[rowRecords[r]];
        ChartRow row;
        row.band = edges.band;
        const double top = area.headerLine + (static_cast<double>(r) + 0.5) * spacing - barHeight / 2;
        row.bar = { area.width * BarLeft, top, area.width * BarWidth, barHeight };
        row.nameBox = { area.width * NameLeft, top, area.width * NameWidth, barHeight };
        row.barToolTip = edges.band + "  " + formatPlanEdges(edges.start, edges.end);
        const double bandSpan = static_cast<double>(edges.end) - static_cast<double>(edges.start);
        for (const BandPlanRecord& record : records) {
            if (record.licenceClass != licenceClass || record.band != edges.band) {
                continue;
            }
            const double share = (static_cast<double>(record.end) - static_cast<double>(record.start)) / bandSpan;
            if (!(bandSpan > 0) || share < 0) {
                // A band whose edges meet or run backwards has no scale to lay its segments on.
                chart.rows.push_back(std::move(row));
                chart.complete = false;
                return chart;
            }
            ChartSegment segment;
            const double offset = (static_cast<double>(record.start) - static_cast<double>(edges.start)) / bandSpan;
            segment.box = { row.bar.left + offset * row.bar.width, top, share * row.bar.width, barHeight };
            segment.cw = isCwSegment(record);
            segment.caption = formatPlanEdges(record.start, record.end);
            segment.toolTip = (segment.cw ? "CW  " : "PH  ") + segment.caption;
            row.segments.push_back(std::move(segment));
        }
        chart.rows.push_back(std::move(row));
    }
    return chart;
}

} // namespace brindle
