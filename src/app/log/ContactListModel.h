#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace brindle {

class ContestLog;

// The rows of the main window's contact list: record numbers into the log, each cell drawn from the record
// when the view asks for it, so that listing all of a full log costs no more than listing 20.
class ContactListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    ContactListModel(const ContestLog& log, QObject* parent = nullptr);

    // Shows these records, in this order.
    void setRecords(std::vector<int> numbers);
    const std::vector<int>& records() const
    {
        return m_numbers;
    }
    // Puts the rows once in ascending order of a column's text; rows shown later are not kept in order.
    void sortByText(int column);
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ContestLog& m_log;
    std::vector<int> m_numbers;
};

} // namespace brindle
