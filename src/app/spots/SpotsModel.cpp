#include "SpotsModel.h"

#include "common/Clock.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "spots/MapLabel.h"

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
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
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

void SpotListModel::addRow(const SpotListRow& row, std::string band, bool worked)
{
    if (static_cast<int>(m_rows.size()) >= MaxRows) {
        const int last = static_cast<int>(m_rows.size()) - 1;
        beginRemoveRows({}, last, last);
        m_rows.pop_back();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_rows.push_front({ row, std::move(band), worked });
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
}

void SpotsModel::addSpotLine(const std::string& line)
{
    if (const std::optional<ParsedSpot> spot = parseSpotLine(line)) {
        addSpot(spot->call, spot->freqKHzText, spot->recordText);
    }
}

void SpotsModel::addSpot(const std::string& call, const std::string& freqKHzText, const std::string& recordText)
{
    if (isOwnCallSpotted(call, m_context.ownCall())) {
        emit ownCallSpotted(toQString(recordText));
    }
    const std::optional<float> freqMHz = spotFrequencyMHz(freqKHzText);
    if (!freqMHz) {
        return;
    }
    const std::string record = recordText.substr(0, recordText.find('\r'));
    m_store.add(call, *freqMHz, m_clock.localNow());
    std::rotate(m_worked.begin(), m_worked.begin() + 1, m_worked.end());
    m_worked[SpotStore::NewestSlot] = workedOnItsBand(call, *freqMHz);
    emit spotAdded();
    m_list.addRow(spotListRow(call, *freqMHz, record, m_context.countries()), bandOf(*freqMHz),
        m_worked[SpotStore::NewestSlot]);
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
