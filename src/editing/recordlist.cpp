#include "recordlist.h"

#include "collationranks.h"
#include "store/ansitext.h"
#include "store/fieldnames.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// The C locale collates by code point, upper case first, whatever the case
// sensitivity; users without a locale still expect "apple" before "Banana".
QLocale CollationLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}

// The rows in sorted order. Ranks are dense, so counting them sorts in
// linear time; taking the rows in their present order keeps equal rows as
// they were.
std::vector<int> OrderByRank(const std::vector<int> &ranks, Qt::SortOrder order)
{
    const int rankCount = ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end()) + 1;
    const auto placeOf = [&](int rank) { return order == Qt::AscendingOrder ? rank : rankCount - 1 - rank; };
    std::vector<int> next(rankCount + 1, 0);
    for (const int rank : ranks)
        ++next[placeOf(rank) + 1];
    std::partial_sum(next.begin(), next.end(), next.begin());
    std::vector<int> rows(ranks.size());
    for (int row = 0; row < int(ranks.size()); ++row)
        rows[next[placeOf(ranks[row])]++] = row;
    return rows;
}

} // namespace

RecordList::RecordList(QObject *parent)
    : QAbstractTableModel(parent)
    , m_selection(this)
    , m_collator(CollationLocale())
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int RecordList::AddRow(const RegistrationRecord &record)
{
    const int row = m_sorted ? SortedPlace(record) : Count();
    DropRanks();
    beginInsertRows({}, row, row);
    m_rows.insert(row, record);
    endInsertRows();
    return row + 1;
}

void RecordList::AppendRows(QList<RegistrationRecord> records)
{
    if (records.isEmpty())
        return;
    DropRanks();
    beginInsertRows({}, Count(), Count() + int(records.size()) - 1);
    if (m_rows.isEmpty())
        m_rows = std::move(records);
    else
        m_rows.append(std::move(records));
    endInsertRows();
    if (m_sorted)
        SortRows();
}

void RecordList::RemoveRow(int position)
{
    const int row = position - 1;
    DropRanks();
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void RecordList::SetCells(int position, const RegistrationRecord &values)
{
    const int row = position - 1;
    DropRanks();
    RegistrationRecord &record = m_rows[row];
    const QByteArray product = record[Column::Product].toByteArray();
    record = values;
    record.Set(Column::Product, product);
    emit dataChanged(index(row, Column::Registrant), index(row, Column::Recorded));

    if (!m_sorted)
        return;
    const int place = SortedPlace(record, row);
    const int destination = place < row ? place : place + 1;
    if (destination == row || destination == row + 1)
        return;
    beginMoveRows({}, row, row, {}, destination);
    m_rows.move(row, place);
    endMoveRows();
}

void RecordList::Clear()
{
    beginResetModel();
    DropRanks();
    m_rows.clear();
    endResetModel();
}

int RecordList::SelectedPosition() const
{
    const QModelIndexList rows = m_selection.selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void RecordList::SelectRow(int position)
{
    m_selection.setCurrentIndex(index(position - 1, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RecordList::ColumnClick(int column)
{
    sort(column, m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
}

int RecordList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

int RecordList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RegistrationRecord::FieldCount;
}

QVariant RecordList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    return AnsiText::ToUnicode(m_rows.at(index.row())[Column(index.column())]);
}

QVariant RecordList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= RegistrationRecord::FieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString(FieldNames::Names[section]);
}

Qt::ItemFlags RecordList::flags(const QModelIndex &index) const
{
    // Rows are never edited in place: a record's Product is fixed once added.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void RecordList::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= RegistrationRecord::FieldCount)
        return;
    m_sortKey = column;
    m_sortOrder = order;
    m_sorted = true;
    SortRows();
}

QString RecordList::SortText(const RegistrationRecord &record) const
{
    return AnsiText::ToUnicode(record[Column(m_sortKey)]);
}

int RecordList::SortedPlace(const RegistrationRecord &record, int skippedRow) const
{
    // Binary search for the first row the record sorts before, so equal rows
    // keep the order in which they came. The collator compares here as it
    // does when the list is sorted.
    const QString text = SortText(record);
    const int sign = m_sortOrder == Qt::AscendingOrder ? 1 : -1;
    int low = 0;
    int high = Count() - (skippedRow >= 0 ? 1 : 0);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const int row = (skippedRow >= 0 && middle >= skippedRow) ? middle + 1 : middle;
        if (sign * m_collator.compare(text, SortText(m_rows.at(row))) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void RecordList::SortRows()
{
    const std::vector<int> order = OrderByRank(Ranks(m_sortKey), m_sortOrder);

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newRowOf(order.size());
    for (int newRow = 0; newRow < int(order.size()); ++newRow)
        newRowOf[order[newRow]] = newRow;
    // The rows move in place, one cycle of the permutation at a time: a
    // second list of every row would raise the program's peak memory.
    std::vector<int> from = order;
    for (int start = 0; start < int(from.size()); ++start) {
        if (from[start] == start)
            continue;
        RegistrationRecord first = std::move(m_rows[start]);
        int row = start;
        while (from[row] != start) {
            m_rows[row] = std::move(m_rows[from[row]]);
            std::exchange(row, std::exchange(from[row], row));
        }
        m_rows[row] = std::move(first);
        from[row] = row;
    }
    for (std::vector<int> &columnRanks : m_ranks) {
        if (columnRanks.empty())
            continue;
        std::vector<int> reordered(columnRanks.size());
        for (std::size_t newRow = 0; newRow < order.size(); ++newRow)
            reordered[newRow] = columnRanks[order[newRow]];
        columnRanks = std::move(reordered);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const std::vector<int> &RecordList::Ranks(int column)
{
    std::vector<int> &ranks = m_ranks[column];
    if (!ranks.empty() || m_rows.isEmpty())
        return ranks;
    std::vector<QByteArrayView> texts(m_rows.size());
    std::transform(m_rows.begin(), m_rows.end(), texts.begin(),
                   [column](const RegistrationRecord &record) { return record[Column(column)]; });
    ranks = CollationRanks(texts, m_collator);
    return ranks;
}

void RecordList::DropRanks()
{
    for (std::vector<int> &ranks : m_ranks)
        ranks = {};
}
