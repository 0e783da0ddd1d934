#include "ContactListModel.h"

#include "common/QtText.h"
#include "log/ContactList.h"
#include "log/ContestLog.h"

#include <algorithm>
#include <numeric>

namespace brindle {

ContactListModel::ContactListModel(const ContestLog& log, QObject* parent)
    : QAbstractTableModel(parent)
    , m_log(log)
{
}

void ContactListModel::setRecords(std::vector<int> numbers)
{
    // Rows go and come as rows: a reset of the whole model would also reset the widths of the columns.
    if (!m_numbers.empty()) {
        beginRemoveRows({}, 0, static_cast<int>(m_numbers.size()) - 1);
        m_numbers.clear();
        endRemoveRows();
    }
    if (!numbers.empty()) {
        beginInsertRows({}, 0, static_cast<int>(numbers.size()) - 1);
        m_numbers = std::move(numbers);
        endInsertRows();
    }
}

QString ContactListModel::text(int row, int column) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_numbers.size()) {
        return {};
    }
    const int number = m_numbers[static_cast<std::size_t>(row)];
    // A row outlives its record only until the next refresh; it shows its number and nothing else.
    if (number < 1 || number > m_log.count()) {
        return column == 0 ? QString::number(number) : QString();
    }
    return toQString(contactListText(m_log.record(number), number, column));
}

void ContactListModel::sortByText(int column)
{
    std::vector<QString> keys(m_numbers.size());
    for (std::size_t row = 0; row < m_numbers.size(); ++row) {
        keys[row] = text(static_cast<int>(row), column);
    }
    std::vector<std::size_t> order(m_numbers.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    // Text order, as the operator reads it: "10" comes before "9", and case does not matter.
    std::stable_sort(order.begin(), order.end(),
        [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b], Qt::CaseInsensitive) < 0; });
    std::vector<int> sorted;
    sorted.reserve(order.size());
    for (std::size_t row : order) {
        sorted.push_back(m_numbers[row]);
    }
    setRecords(std::move(sorted));
}

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_numbers.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ContactListColumns.size());
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return text(index.row(), index.column());
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || static_cast<std::size_t>(section) >= ContactListColumns.size()) {
        return {};
    }
    return toQString(ContactListColumns[static_cast<std::size_t>(section)].heading);
}

} // namespace brindle
