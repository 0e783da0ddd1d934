#pragma once

#include "spots/SpotLine.h"
#include "spots/SpotStore.h"

#include <QAbstractTableModel>
#include <QObject>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

class Clock;
class CountryTable;

// The spot list's rows, newest at the top, at most 200: the call and the seven columns of each spot
// received, whether it is still on the maps or not.
class SpotListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 200;
    enum Column
    {
        CallColumn,
        FrequencyColumn,
        QthColumn,
        StatusColumn,
        CommentsColumn,
        PrefixColumn,
        TimeColumn,
        FromColumn,
        ColumnCount,
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    struct Row
    {
        SpotListRow row; // its QTH looked up when first read
        std::string band; // of its frequency; empty outside the contest's bands
        bool worked = false;
        bool qthLookedUp = false;
    };
    // Rows oldest first, each going on top as it comes: one insertion and at most one removal for the
    // views however many there are, so that a cluster's burst does not lay the list out row by row.
    void addRows(std::vector<Row> rows);
    // The QTH of a call. It is looked up when a row is first read: most rows of a busy feed leave the
    // list unseen, and the band map hides the list altogether.
    void setQthLookup(std::function<std::string(std::string_view call)> qthOf);
    const SpotListRow& row(int number) const;
    // The rows of a call worked on a band are marked.
    void markWorked(std::string_view call, std::string_view band);
    void setWorked(const std::function<bool(const std::string& call, const std::string& band)>& worked);

private:
    const Row& lookedUp(std::size_t number) const;

    // Rows get their QTH when read.
    mutable std::deque<Row> m_rows;
    std::function<std::string(std::string_view call)> m_qthOf;
};

// The spots received: the store the maps show, the list, and the alert when the own call is spotted.
// A spot whose call is already in the log on the spot's band is marked worked, so the maps and the list
// can show it dimmed and the operator does not chase a station that would be a duplicate.
class SpotsModel : public QObject
{
    Q_OBJECT

public:
    struct Context
    {
        std::function<std::string()> ownCall;
        std::function<const CountryTable&()> countries;
        // The call is in the log on the band.
        std::function<bool(const std::string& call, const std::string& band)> worked;
    };

    SpotsModel(const Clock& clock, Context context, QObject* parent = nullptr);

    // A line the spot source recognised as a spot.
    void addSpotLine(const std::string& line);
    // Lines the spot source handed on together, oldest first: each is taken as addSpotLine takes it, the
    // own call's alert for each, but the list and the maps hear of them once.
    void addSpotLines(const std::vector<std::string>& lines);
    // A spot's call, its frequency text in kHz and its record text.
    void addSpot(const std::string& call, const std::string& freqKHzText, const std::string& recordText);
    // A map's click: the spot leaves the maps; its row stays in the list.
    void withdraw(int slot);

    const SpotStore& store() const
    {
        return m_store;
    }
    SpotListModel& list()
    {
        return m_list;
    }
    bool isWorked(int slot) const;
    // A contact was logged: its call's spots on its band are worked now.
    void contactLogged(const std::string& call, const std::string& band);
    // The log was read again or rewritten: every mark is taken afresh.
    void logChanged();

signals:
    void ownCallSpotted(const QString& recordText);
    // A spot went into slot 49; once for the spots added together.
    void spotAdded();
    // A spot was withdrawn, or the worked marks changed.
    void spotsChanged();

private:
    // The spot into the store; its list row is left to the caller, who may have newer rows to add with it.
    // Nothing for a spot without a frequency.
    struct Stored
    {
        std::string call;
        float freqMHz = 0;
        std::string record;
        bool worked = false;
    };
    std::optional<Stored> store(
        const std::string& call, const std::string& freqKHzText, const std::string& recordText, const DateTime& now);
    void listStored(std::vector<Stored> stored);
    bool workedOnItsBand(const std::string& call, float freqMHz) const;

    const Clock& m_clock;
    Context m_context;
    SpotStore m_store;
    std::array<bool, SpotStore::SlotCount> m_worked {};
    SpotListModel m_list;
};

} // namespace brindle
