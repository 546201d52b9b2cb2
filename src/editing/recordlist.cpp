#include "recordlist.h"

#include "store/ansitext.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The C locale collates by code point, upper case first, whatever the case
// sensitivity; users without a locale still expect "apple" before "Banana".
QLocale CollationLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
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
    const int row = m_sorted ? SortedPlace(SortText(record)) : Count();
    beginInsertRows({}, row, row);
    m_rows.insert(row, record);
    endInsertRows();
    return row + 1;
}

void RecordList::AppendRows(QList<RegistrationRecord> records)
{
    if (records.isEmpty())
        return;
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
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void RecordList::SetCells(int position, const RegistrationRecord &values)
{
    const int row = position - 1;
    RegistrationRecord &record = m_rows[row];
    const QByteArray product = record[Column::Product].toByteArray();
    record = values;
    record.Set(Column::Product, product);
    emit dataChanged(index(row, Column::Registrant), index(row, Column::Recorded));

    if (!m_sorted)
        return;
    const int place = SortedPlace(SortText(record), row);
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
    static const QStringList captions = {
        u"Product"_s,     u"Registrant"_s,        u"Customer ID"_s, u"Registration"_s,
        u"Web Contact"_s, u"Registration Date"_s, u"Recorded"_s,
    };
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= captions.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return captions.at(section);
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

bool RecordList::SortsBefore(const QString &left, const QString &right) const
{
    const int comparison = m_collator.compare(left, right);
    return m_sortOrder == Qt::AscendingOrder ? comparison < 0 : comparison > 0;
}

int RecordList::SortedPlace(const QString &key, int skippedRow) const
{
    // Binary search for the first row the key sorts before, so equal rows
    // keep the order in which they came.
    int low = 0;
    int high = Count() - (skippedRow >= 0 ? 1 : 0);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const int row = (skippedRow >= 0 && middle >= skippedRow) ? middle + 1 : middle;
        if (SortsBefore(key, SortText(m_rows.at(row))))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void RecordList::SortRows()
{
    // One sort key per row, built once: comparing prepared keys is far
    // cheaper than collating the texts at every comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const RegistrationRecord &record : std::as_const(m_rows))
        keys.push_back(m_collator.sortKey(SortText(record)));
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        const int comparison = keys[left].compare(keys[right]);
        return ascending ? comparison < 0 : comparison > 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newRowOf(order.size());
    QList<RegistrationRecord> sorted;
    sorted.reserve(m_rows.size());
    for (int newRow = 0; newRow < int(order.size()); ++newRow) {
        newRowOf[order[newRow]] = newRow;
        sorted.append(std::move(m_rows[order[newRow]]));
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
