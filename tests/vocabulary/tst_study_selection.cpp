// Building the study selection: the list splitting and the three filters.
#include "support/test_folder.h"
#include "vocabulary/study_selection.h"
#include "vocabulary/word_table.h"

#include <QTest>
#include <algorithm>

using namespace tavi;
using namespace tavi::test;

class TstStudySelection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void splitList_data();
    void splitList();
    void filters_data();
    void filters();
    void invalidLimitIsReported();
    void onlyCurrentRowsAreSelected();
    void dueWords_data();
    void dueWords();
};

void TstStudySelection::init()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    // level, pinyin, characters, translation, chapter, mark
    VocTable = {{"0", "a1", "A", "a", "1", "x"},    {"1", "b1", "B", "b", "2", ""},
                {"2", "c1", "C", "c", "12", "v"},   {"3", "d1", "D", "d", "1", "x"},
                {"-1", "e1", "E", "e", "3", "x v"}, {"99999", "f1", "F", "f", "2", "X"},
                {"5", "g1", "G", "g", "1 2", ""},   {"1", "h1", "H", "h", "a", "x"}};
    VocCount = 7;
}

void TstStudySelection::splitList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("inner spaces dropped") << "1 a, 2" << QStringList{"1a", "2"};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("empty entry kept") << "1,,2" << QStringList{"1", "", "2"};
    QStringList many;
    for (int i = 1; i <= 40; ++i)
        many << QString::number(i);
    QTest::newRow("forty entries") << many.join(", ") << many;
}

void TstStudySelection::splitList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QCOMPARE(SplitList(text), entries);
}

void TstStudySelection::filters_data()
{
    QTest::addColumn<QString>("chapters");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QStringList>("rows");
    // clang-format off
    QTest::newRow("no filter")                       << ""        << ""      << ""  << QStringList{"0", "1", "2", "3", "4", "5", "6", "7"};
    QTest::newRow("chapters 1,2 not 12")             << "1,2"     << ""      << ""  << QStringList{"0", "1", "3", "5"};
    QTest::newRow("scan stops at empty entry")       << "1,,2"    << ""      << ""  << QStringList{"0", "3"};
    QTest::newRow("spaces in the list are dropped")  << "1 2"     << ""      << ""  << QStringList{"2"};
    QTest::newRow("chapter labels are text")         << "a"       << ""      << ""  << QStringList{"7"};
    QTest::newRow("level 2 and below, negative too") << ""        << "2"     << ""  << QStringList{"0", "1", "2", "4", "7"};
    QTest::newRow("level beyond 16 bits")            << ""        << "40000" << ""  << QStringList{"0", "1", "2", "3", "4", "6", "7"};
    QTest::newRow("huge limit takes all")            << ""        << "1e10"  << ""  << QStringList{"0", "1", "2", "3", "4", "5", "6", "7"};
    QTest::newRow("marks are case-sensitive")        << ""        << ""      << "x" << QStringList{"0", "3", "7"};
    QTest::newRow("all three")                       << "1, 2, 3" << "3"     << "x" << QStringList{"0", "3"};
    // clang-format on
}

void TstStudySelection::filters()
{
    QFETCH(QString, chapters);
    QFETCH(QString, level);
    QFETCH(QString, marks);
    QFETCH(QStringList, rows);
    QVERIFY(selectStudyWords({chapters, level, marks}));
    QCOMPARE(StudyList, rows);
    QCOMPARE(StudyCount, rows.size() - 1);
}

void TstStudySelection::invalidLimitIsReported()
{
    QVERIFY(!selectStudyWords({"1", "abc", ""}));
    QCOMPARE(StudyList, (QStringList{"0", "3"}));
}

void TstStudySelection::onlyCurrentRowsAreSelected()
{
    VocCount = 2; // rows after it belong to an earlier, longer file
    QVERIFY(selectStudyWords({"", "", ""}));
    QCOMPARE(StudyList, (QStringList{"0", "1", "2"}));
    QCOMPARE(studyRow(2), 2);
    QCOMPARE(studyRow(3), -1);
    VocCount = -1;
    QVERIFY(selectStudyWords({"", "", ""}));
    QCOMPARE(StudyCount, -1);
}

// A was due three days ago, B yesterday, D is due today, F tomorrow; the others are new.
// Chapter 2 holds B and F.
void TstStudySelection::dueWords_data()
{
    QTest::addColumn<QString>("chapters");
    QTest::addColumn<bool>("onlyDue");
    QTest::addColumn<int>("newLimit");
    QTest::addColumn<QString>("list");   // the rows of StudyList
    QTest::addColumn<QString>("counts"); // due/new
    // clang-format off
    QTest::newRow("unchecked: as selected")             << ""  << false << 20 << "0 1 2 3 4 5 6 7" << "3/4";
    QTest::newRow("due first, most overdue first, new") << ""  << true  << 20 << "0 1 3 2 4 6 7"   << "3/4";
    QTest::newRow("new words limited")                  << ""  << true  << 1  << "0 1 3 2"         << "3/4";
    QTest::newRow("no new words")                       << ""  << true  << 0  << "0 1 3"           << "3/4";
    QTest::newRow("with the chapter filter")            << "2" << true  << 20 << "1"               << "1/0";
    // clang-format on
}

void TstStudySelection::dueWords()
{
    QFETCH(QString, chapters);
    QFETCH(bool, onlyDue);
    QFETCH(int, newLimit);
    QFETCH(QString, list);
    QFETCH(QString, counts);
    const QDate today(2026, 12, 8);
    const DueDays due = {{"A\ta1", today.addDays(-3)},
                         {"B\tb1", today.addDays(-1)},
                         {"D\td1", today},
                         {"F\tf1", today.addDays(1)}};
    QVERIFY(selectStudyWords({chapters, "", ""}));
    const DueCounts got = orderByDueDays(due, today, {onlyDue, newLimit, false, 0});
    QCOMPARE(StudyList.join(u' '), list);
    QCOMPARE(StudyCount, StudyList.size() - 1);
    QCOMPARE(QString("%1/%2").arg(got.due).arg(got.fresh), counts);

    // Mixing keeps the words and changes their order (for this seed).
    const QStringList before = StudyList;
    orderByDueDays({}, today, {false, 0, true, 7});
    QVERIFY(std::is_permutation(StudyList.begin(), StudyList.end(), before.begin(), before.end()));
    if (before.size() > 3)
        QVERIFY(StudyList != before);
}

QTEST_GUILESS_MAIN(TstStudySelection)
#include "tst_study_selection.moc"
