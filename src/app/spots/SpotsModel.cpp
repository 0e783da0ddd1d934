#include "SpotsModel.h"

#include "common/Clock.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "spots/MapLabel.h"
#include "spots/SpotCountry.h"
#include "station/CountryTable.h"

#include <QColor>

#include <algorithm>

namespace brindle {

namespace {

std::string bandOf(float freqMHz)
{
    const std::optional<std::string_view> band = bandForFrequency(freqMHz);
    return band ? std::string(*band) : std::string();
}

} // namespace

int SpotListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SpotListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SpotListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = lookedUp(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole) {
        const SpotListRow& r = row.row;
        const std::string* texts[] = { &r.call, &r.frequency, &r.qth, &r.status, &r.comments, &r.prefix, &r.time,
            &r.from };
        return toQString(*texts[index.column()]);
    }
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == FrequencyColumn) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (index.column() == StatusColumn) {
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && row.worked) {
        return QColor(Qt::gray);
    }
    if (role == Qt::ToolTipRole && row.worked) {
        return QStringLiteral("%1: worked on %2 m").arg(toQString(row.row.call), toQString(row.band));
    }
    return {};
}

QVariant SpotListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const Titles[] = { "Call", "Frequency", "QTH", "Status", "Comments", "Prefix", "Time", "From" };
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section]) : QVariant();
}

void SpotListModel::setQthLookup(std::function<std::string(std::string_view call)> qthOf)
{
    m_qthOf = std::move(qthOf);
}

const SpotListRow& SpotListModel::row(int number) const
{
    return lookedUp(static_cast<std::size_t>(number)).row;
}

const SpotListModel::Row& SpotListModel::lookedUp(std::size_t number) const
{
    Row& row = m_rows.at(number);
    if (!row.qthLookedUp && m_qthOf) {
        row.row.qth = m_qthOf(row.row.call);
    }
    row.qthLookedUp = true;
    return row;
}

void SpotListModel::addRows(std::vector<Row> rows)
{
    if (rows.empty()) {
        return;
    }
    // Of more rows than the list keeps, the older never show.
    const std::size_t kept = std::min(rows.size(), static_cast<std::size_t>(MaxRows));
    const std::size_t total = m_rows.size() + kept;
    const std::size_t dropped = total > static_cast<std::size_t>(MaxRows) ? total - MaxRows : 0;
    if (dropped > 0) {
        const int first = static_cast<int>(m_rows.size() - dropped);
        beginRemoveRows({}, first, static_cast<int>(m_rows.size()) - 1);
        m_rows.erase(m_rows.end() - static_cast<std::ptrdiff_t>(dropped), m_rows.end());
        endRemoveRows();
    }
    beginInsertRows({}, 0, static_cast<int>(kept) - 1);
    for (auto row = rows.end() - static_cast<std::ptrdiff_t>(kept); row != rows.end(); ++row) {
        m_rows.push_front(std::move(*row));
    }
    endInsertRows();
}

void SpotListModel::markWorked(std::string_view call, std::string_view band)
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        if (!row.worked && row.band == band && equalsIgnoreCase(row.row.call, call)) {
            row.worked = true;
            emit dataChanged(index(static_cast<int>(i), 0), index(static_cast<int>(i), ColumnCount - 1));
        }
    }
}

void SpotListModel::setWorked(const std::function<bool(const std::string& call, const std::string& band)>& worked)
{
    for (Row& row : m_rows) {
        row.worked = !row.band.empty() && worked(row.row.call, row.band);
    }
    if (!m_rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

SpotsModel::SpotsModel(const Clock& clock, Context context, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_context(std::move(context))
    , m_list(this)
{
    m_list.setQthLookup([this](std::string_view call) { return lookupSpotCountry(call, m_context.countries()); });
}

void SpotsModel::addSpotLine(const std::string& line)
{
    if (const std::optional<ParsedSpot> spot = parseSpotLine(line)) {
        addSpot(spot->call, spot->freqKHzText, spot->recordText);
    }
}

void SpotsModel::addSpotLines(const std::vector<std::string>& lines)
{
    // The lines came together: one time of receipt serves them all.
    const DateTime now = m_clock.localNow();
    std::vector<Stored> stored;
    for (const std::string& line : lines) {
        if (const std::optional<ParsedSpot> spot = parseSpotLine(line)) {
            if (std::optional<Stored> added = store(spot->call, spot->freqKHzText, spot->recordText, now)) {
                stored.push_back(std::move(*added));
            }
        }
    }
    if (stored.empty()) {
        return;
    }
    emit spotAdded();
    listStored(std::move(stored));
}

void SpotsModel::addSpot(const std::string& call, const std::string& freqKHzText, const std::string& recordText)
{
    std::optional<Stored> added = store(call, freqKHzText, recordText, m_clock.localNow());
    if (!added) {
        return;
    }
    emit spotAdded();
    std::vector<Stored> stored;
    stored.push_back(std::move(*added));
    listStored(std::move(stored));
}

std::optional<SpotsModel::Stored> SpotsModel::store(
    const std::string& call, const std::string& freqKHzText, const std::string& recordText, const DateTime& now)
{
    if (isOwnCallSpotted(call, m_context.ownCall())) {
        emit ownCallSpotted(toQString(recordText));
    }
    const std::optional<float> freqMHz = spotFrequencyMHz(freqKHzText);
    if (!freqMHz) {
        return std::nullopt;
    }
    m_store.add(call, *freqMHz, now);
    std::rotate(m_worked.begin(), m_worked.begin() + 1, m_worked.end());
    m_worked[SpotStore::NewestSlot] = workedOnItsBand(call, *freqMHz);
    return Stored { call, *freqMHz, recordText.substr(0, recordText.find('\r')), m_worked[SpotStore::NewestSlot] };
}

void SpotsModel::listStored(std::vector<Stored> stored)
{
    // Only the newest rows would stay in the list: rows are made for those alone, and without their QTH,
    // which the list looks up when a row is read.
    const std::size_t first = stored.size() > static_cast<std::size_t>(SpotListModel::MaxRows)
        ? stored.size() - static_cast<std::size_t>(SpotListModel::MaxRows)
        : 0;
    static const CountryTable NoCountries;
    std::vector<SpotListModel::Row> rows;
    rows.reserve(stored.size() - first);
    for (std::size_t i = first; i < stored.size(); ++i) {
        const Stored& spot = stored[i];
        rows.push_back(
            { spotListRow(spot.call, spot.freqMHz, spot.record, NoCountries), bandOf(spot.freqMHz), spot.worked });
    }
    m_list.addRows(std::move(rows));
}

void SpotsModel::withdraw(int slot)
{
    m_store.withdraw(slot);
    emit spotsChanged();
}

bool SpotsModel::isWorked(int slot) const
{
    return slot >= 0 && slot < SpotStore::SlotCount && m_worked[static_cast<std::size_t>(slot)];
}

bool SpotsModel::workedOnItsBand(const std::string& call, float freqMHz) const
{
    const std::string band = bandOf(freqMHz);
    return !band.empty() && m_context.worked && m_context.worked(call, band);
}

void SpotsModel::contactLogged(const std::string& call, const std::string& band)
{
    bool changed = false;
    for (int slot = 0; slot < SpotStore::SlotCount; ++slot) {
        const SpotRecord& spot = m_store.slot(slot);
        if (!m_worked[static_cast<std::size_t>(slot)] && equalsIgnoreCase(spot.call, call)
            && bandOf(spot.freqMHz) == band) {
            m_worked[static_cast<std::size_t>(slot)] = true;
            changed = true;
        }
    }
    m_list.markWorked(call, band);
    if (changed) {
        emit spotsChanged();
    }
}

void SpotsModel::logChanged()
{
    for (int slot = 0; slot < SpotStore::SlotCount; ++slot) {
        const SpotRecord& spot = m_store.slot(slot);
        m_worked[static_cast<std::size_t>(slot)] = !spot.call.empty() && workedOnItsBand(spot.call, spot.freqMHz);
    }
    if (m_context.worked) {
        m_list.setWorked(m_context.worked);
    }
    emit spotsChanged();
}

} // namespace brindle
