#include "wizard/EntrySlots.h"

#include <QSet>
#include <QTest>

class TestEntrySlots : public QObject
{
    Q_OBJECT

private slots:
    // The windows number their controls by a rule; the table must follow it for every slot.
    void tableFollowsTheControlNumbering()
    {
        int expectedNumber = 1;
        for (const EntrySlot &slot : EntrySlots::all()) {
            QCOMPARE(slot.number, expectedNumber++);
            const bool pageOne = slot.number <= 7;
            const int row = pageOne ? slot.number : slot.number - 7;
            QCOMPARE(slot.form, pageOne ? FormId::Form2 : FormId::Form3);
            QCOMPARE(QString(slot.nameField), QString("Text%1").arg(2 * row - 1));
            QCOMPARE(QString(slot.pathField), QString("Text%1").arg(2 * row));
            QCOMPARE(QString(slot.browseButton), QString("Command%1").arg(pageOne ? row + 2 : row));
            QCOMPARE(slot.key(), QString::number(slot.number));
        }
        QCOMPARE(expectedNumber, 18);
    }

    void pagesSplitTheSlots_data()
    {
        QTest::addColumn<FormId>("page");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("page 1") << FormId::Form2 << 1 << 7;
        QTest::newRow("page 2") << FormId::Form3 << 8 << 10;
        QTest::newRow("comment dialog") << FormId::Form5 << 0 << 0;
    }

    void pagesSplitTheSlots()
    {
        QFETCH(FormId, page);
        QFETCH(int, first);
        QFETCH(int, count);
        const auto pageSlots = EntrySlots::onPage(page);
        QCOMPARE(int(pageSlots.size()), count);
        for (std::size_t i = 0; i < pageSlots.size(); ++i) {
            QCOMPARE(pageSlots[i].number, first + int(i));
            QCOMPARE(pageSlots[i].form, page);
        }
    }
};

QTEST_GUILESS_MAIN(TestEntrySlots)
#include "tst_entryslots.moc"
