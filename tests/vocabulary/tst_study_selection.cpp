// Building the study selection: the list splitting and the three filters.
#include "support/test_folder.h"
#include "vocabulary/study_selection.h"
#include "vocabulary/word_table.h"

#include <QTest>

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
    QString text;
    for (int i = 1; i <= 40; ++i) {
        many << QString::number(i);
        text += QString::number(i) + (i < 40 ? ", " : "");
    }
    QTest::newRow("forty entries") << text << many;
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

QTEST_GUILESS_MAIN(TstStudySelection)
#include "tst_study_selection.moc"
