// The web browser component's test: the library's FileVersion, its first four
// characters as a number above 4.71.
#include "install/browser_check.h"

#include <QTest>

using namespace tavi;

class TstBrowserCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void usable_data();
    void usable();
};

void TstBrowserCheck::usable_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("expected");
    QTest::newRow("4.71 is too old") << "shdocvw_4_71" << false;
    QTest::newRow("4.72") << "shdocvw_4_72" << true;
    QTest::newRow("5.00") << "shdocvw_5_00" << true;
    QTest::newRow("folder given with a trailing slash") << "shdocvw_5_00/" << true;
    QTest::newRow("empty version text") << "shdocvw_empty" << false;
    QTest::newRow("not a number") << "shdocvw_abc" << false;
    QTest::newRow("comma, not point") << "shdocvw_comma" << false;
    QTest::newRow("leading blank") << "shdocvw_blank" << false;
    QTest::newRow("no version resource") << "shdocvw_no_version" << false;
    QTest::newRow("name in capitals") << "shdocvw_upper" << false;
    QTest::newRow("folder without the library") << "" << false;
    QTest::newRow("missing folder") << "no_such_folder" << false;
}

void TstBrowserCheck::usable()
{
    QFETCH(QString, folder);
    QFETCH(bool, expected);
    QCOMPARE(browserComponentUsable(QStringLiteral(TAVI_PE_FILES) + u'/' + folder), expected);
}

QTEST_GUILESS_MAIN(TstBrowserCheck)
#include "tst_browser_check.moc"
