#pragma once

#include "store/databasereader.h"
#include "store/registrationrecord.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QItemSelectionModel>
#include <QList>

#include <array>
#include <vector>

// The record list: the only in-memory copy of the current database, in
// display order. Record operations address rows by 1-based positions in that
// order; the file is written in it too.
//
// Sorting follows the list's one rule: a column click picks the key and
// flips the single sort order shared by all columns. While the list is
// sorted, added and changed rows take their sorted place at once.
class RecordList : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Column = RegistrationRecord::Field;

    // Positions are 16-bit signed numbers in the file format's world; the
    // reader stops at the same count.
    static constexpr int MaximumRows = int(DatabaseLoad::MaxRecords);

    explicit RecordList(QObject *parent = nullptr);

    // Adds one row and returns its position.
    int AddRow(const RegistrationRecord &record);
    void AppendRows(QList<RegistrationRecord> records);
    void RemoveRow(int position);
    // Replaces every cell but the Product, which never changes once added.
    void SetCells(int position, const RegistrationRecord &values);
    void Clear();

    int Count() const { return int(m_rows.size()); }
    const RegistrationRecord &RowAt(int position) const { return m_rows.at(position - 1); }
    const QList<RegistrationRecord> &Rows() const { return m_rows; }

    // The selection lives here, not in a view, so the record operations can
    // read it; views share this selection model.
    QItemSelectionModel *SelectionModel() { return &m_selection; }
    int SelectedPosition() const;
    void SelectRow(int position);

    void ColumnClick(int column);
    int SortKey() const { return m_sortKey; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }
    bool IsSorted() const { return m_sorted; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString SortText(const RegistrationRecord &record) const;
    // Where this record goes among the rows other than skippedRow.
    int SortedPlace(const RegistrationRecord &record, int skippedRow = -1) const;
    void SortRows();
    // The collation rank of each row's text in a column, in row order: equal
    // texts share a rank. Built by the first sort on the column and kept until
    // a row changes, so later clicks on it compare numbers, not texts.
    const std::vector<int> &Ranks(int column);
    void DropRanks();

    QList<RegistrationRecord> m_rows;
    // Per column: empty while not built, else one rank per row.
    std::array<std::vector<int>, RegistrationRecord::FieldCount> m_ranks;
    QItemSelectionModel m_selection;
    QCollator m_collator;
    int m_sortKey = Column::Product;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorted = false;
};
