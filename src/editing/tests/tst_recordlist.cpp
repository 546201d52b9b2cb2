#include "editing/recordlist.h"

#include "store/ansitext.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Column = RecordList::Column;

RegistrationRecord Row(const QByteArray &product, const QByteArray &registrant = {}, const QByteArray &recorded = {})
{
    return RegistrationRecord({product, registrant, {}, {}, {}, {}, recorded});
}

QStringList Products(const RecordList &list)
{
    QStringList products;
    for (int position = 1; position <= list.Count(); ++position)
        products.append(QString::fromLatin1(list.RowAt(position)[Column::Product]));
    return products;
}

// A change to the rows, made between two sorts.
using Change = std::function<void(RecordList &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestRecordList : public QObject
{
    Q_OBJECT

private slots:
    void positions_areOneBasedInDisplayOrder()
    {
        RecordList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(list.AddRow(Row("a")), 1);
        QCOMPARE(list.AddRow(Row("b")), 2);
        QCOMPARE(list.AddRow(Row("c")), 3);
        list.RemoveRow(2);
        QCOMPARE(Products(list), (QStringList{u"a"_s, u"c"_s}));
        QCOMPARE(list.index(1, Column::Product).data().toString(), u"c"_s);
        list.Clear();
        QCOMPARE(list.Count(), 0);
    }

    // Each click names a column; the sort order is one for all columns and
    // flips on every click.
    void columnClicks_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("first click sorts descending from the start state")
            << QList<int>{Column::Product} << QStringList{u"c"_s, u"B"_s, u"a"_s};
        QTest::newRow("same column twice")
            << QList<int>{Column::Product, Column::Product} << QStringList{u"a"_s, u"B"_s, u"c"_s};
        QTest::newRow("another column flips too")
            << QList<int>{Column::Product, Column::Registrant} << QStringList{u"B"_s, u"c"_s, u"a"_s};
        QTest::newRow("recorded sorts as text")
            << QList<int>{Column::Recorded, Column::Recorded} << QStringList{u"B"_s, u"c"_s, u"a"_s};
    }

    void columnClicks()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, order);
        RecordList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.AppendRows({Row("a", "z", "12-31-2025 23:59:59"), Row("B", "x", "01-02-2026 08:00:00"),
                         Row("c", "y", "06-15-2026 12:00:00")});
        for (const int column : clicks)
            list.ColumnClick(column);
        QCOMPARE(Products(list), order);
        QCOMPARE(list.SortKey(), clicks.last());
        QVERIFY(list.IsSorted());
    }

    void sortedList_placesNewRowsAtOnce()
    {
        RecordList list;
        list.AppendRows({Row("b"), Row("d")});
        list.ColumnClick(Column::Product);
        list.ColumnClick(Column::Product);
        QCOMPARE(list.AddRow(Row("c")), 2);
        QCOMPARE(list.AddRow(Row("a")), 1);
        list.AppendRows({Row("e"), Row("B")});
        QCOMPARE(Products(list), (QStringList{u"a"_s, u"b"_s, u"B"_s, u"c"_s, u"d"_s, u"e"_s}));
    }

    // Texts that differ in letter case only sort as equals.
    void sortedList_keepsEqualRowsInArrivalOrder_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::newRow("descending") << 1;
        QTest::newRow("ascending") << 2;
    }

    void sortedList_keepsEqualRowsInArrivalOrder()
    {
        QFETCH(int, clicks);
        RecordList list;
        for (int click = 0; click < clicks; ++click)
            list.ColumnClick(Column::Product);
        list.AppendRows({Row("same", "1"), Row("SAME", "2")});
        list.AddRow(Row("Same", "3"));
        list.AppendRows({Row("same", "4")});
        QStringList registrants;
        for (const RegistrationRecord &record : list.Rows())
            registrants.append(QString::fromLatin1(record[Column::Registrant].toByteArray()));
        QCOMPARE(registrants, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    }

    void changedRow_movesToItsSortedPlaceWithTheSelection()
    {
        RecordList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.AppendRows({Row("p1", "a"), Row("p2", "b"), Row("p3", "c")});
        list.ColumnClick(Column::Registrant);
        list.ColumnClick(Column::Registrant);
        list.SelectRow(1);
        list.SetCells(1, Row("ignored", "z"));
        QCOMPARE(Products(list), (QStringList{u"p2"_s, u"p3"_s, u"p1"_s}));
        QCOMPARE(list.SelectedPosition(), 3);
        list.SetCells(3, Row("ignored", "bb"));
        QCOMPARE(Products(list), (QStringList{u"p2"_s, u"p1"_s, u"p3"_s}));
        QCOMPARE(list.SelectedPosition(), 2);
    }

    // A sort remembers the order of each column it sorted by; after any
    // change to the rows that memory is stale and must not order them.
    void sortAfterAChange_seesTheChangedRows_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("added row") << Change([](RecordList &list) { list.AddRow(Row("p0", "b")); })
                                   << QStringList{u"p3"_s, u"p2"_s, u"p1"_s, u"p0"_s};
        QTest::newRow("replaced row") << Change([](RecordList &list) { list.SetCells(1, Row("p2", "z")); })
                                      << QStringList{u"p3"_s, u"p2"_s, u"p1"_s};
        QTest::newRow("removed row") << Change([](RecordList &list) { list.RemoveRow(1); })
                                     << QStringList{u"p3"_s, u"p1"_s};
        QTest::newRow("reloaded rows") << Change([](RecordList &list) {
            list.Clear();
            list.AppendRows({Row("p9", "x"), Row("p8", "y"), Row("p7", "z")});
        }) << QStringList{u"p9"_s, u"p8"_s, u"p7"_s};
    }

    void sortAfterAChange_seesTheChangedRows()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, order);
        RecordList list;
        list.AppendRows({Row("p1", "c"), Row("p2", "a"), Row("p3", "b")});
        list.ColumnClick(Column::Product);
        list.ColumnClick(Column::Registrant);
        change(list);
        list.ColumnClick(Column::Product);
        QCOMPARE(Products(list), order);
    }

    // The list orders a column from a cheap guess that the collator checks;
    // whatever the locale and the texts, the order must be the one a stable
    // sort with the collator alone gives. The characters are chosen to prove
    // the guess wrong: accents weighed after letters, letter case, Czech
    // "ch" after "h", Danish "aa" after "z", ignorable control characters,
    // expansions such as "\xE6" and "\xDF", punctuation and numbers.
    void sortedColumn_isInTheCollatorsOrder_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::Czechia);
        QTest::newRow("Danish") << QLocale(QLocale::Danish, QLocale::Denmark);
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    }

    void sortedColumn_isInTheCollatorsOrder()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        const QByteArray alphabet("aAe\xE9\xC9"
                                  "chCHz\xE6\xDF"
                                  "s-' 1\x01\x7F\xBD\x80\xFF");
        QRandomGenerator random(20261206);
        QList<RegistrationRecord> rows;
        for (int row = 0; row < 3000; ++row) {
            QByteArray text;
            for (int length = random.bounded(7); length > 0; --length)
                text.append(alphabet[random.bounded(int(alphabet.size()))]);
            rows.append(Row(text, QByteArray::number(row)));
        }
        RecordList list;
        list.AppendRows(rows);
        list.ColumnClick(Column::Product);
        list.ColumnClick(Column::Product);
        QLocale::setDefault(QLocale::c());

        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const RegistrationRecord &left, const RegistrationRecord &right) {
                             return collator.compare(AnsiText::ToUnicode(left[Column::Product]),
                                                     AnsiText::ToUnicode(right[Column::Product]))
                                    < 0;
                         });
        QCOMPARE(list.Rows(), rows);
    }

    void selection_followsItsRowThroughASort()
    {
        RecordList list;
        list.AppendRows({Row("a"), Row("b"), Row("c")});
        list.SelectRow(1);
        list.ColumnClick(Column::Product);
        QCOMPARE(list.SelectedPosition(), 3);
        list.RemoveRow(3);
        QCOMPARE(list.SelectedPosition(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRecordList)
#include "tst_recordlist.moc"
