// RunFile: which failures it finds itself, which it learns later, and how xdg-open's
// answers become the messages of the "RunFile" box.
#include "core/run_file.h"
#include "platform/xdg_opener.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QFile>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

class TstRunFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messages_data();
    void messages();
    void missingTargetsBoxedOthersOpened();
    void laterFailureStillShowsBox();
    void xdgExitCodes();
    void realOpenerReportsNoHandler();
    void realOpenerSuccessIsQuiet();

private:
    QString script(const TestProgramFolder& folder, const QByteArray& body);
};

void TstRunFile::messages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0")
        << 0 << "The file could not be run due to insufficient system memory or a corrupt program file";
    QTest::newRow("6 ends with a blank") << 6 << "Separate data segments are required for each task ";
    QTest::newRow("12 ends with a blank") << 12 << "Program file requires a different operating System ";
    QTest::newRow("15 as written") << 15 << "Windows prgram does not support protected memory mode";
    QTest::newRow("26 has no text") << 26 << "";
}

void TstRunFile::messages()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(RunFileMessage(code), text);
}

// A missing file or folder is said in a box here; a file that is there and an address
// go to the desktop's opener.
void TstRunFile::missingTargetsBoxedOthersOpened()
{
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeOpener opener;
    RunFile(folder.file("nothere.htm"), QString(), 1);
    RunFile(folder.file("nodir/help.htm"), QString(), 1);
    RunFile(folder.file("help.htm"), folder.file("nodir"), 1);
    QVERIFY(opener.calls.isEmpty());
    QCOMPARE(boxes.shown(), (QStringList{"File Not Found|17|RunFile", "Invalid Path|17|RunFile",
                                         "Invalid Path|17|RunFile"}));

    RunFile(folder.file("help.htm"), QString(), 1);
    RunFile("mailto: someone@example.org", QString(), 1);
    RunFile("https://www.example.org/", folder.path(), 1);
    QCOMPARE(opener.calls.size(), 3);
    QCOMPARE(opener.calls[0].target, folder.file("help.htm"));
    QCOMPARE(opener.calls[1].target, QString("mailto: someone@example.org"));
    QCOMPARE(opener.calls[2].directory, folder.path());
    QCOMPARE(boxes.calls.size(), 3); // no more
}

void TstRunFile::laterFailureStillShowsBox()
{
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeOpener opener;
    opener.deferred = true;
    RunFile(folder.file("help.htm"), QString(), 1);
    QVERIFY(boxes.calls.isEmpty()); // returned without waiting
    opener.reply(31);
    QCOMPARE(boxes.shown(), QStringList{"No application found for this file|17|RunFile"});
}

void TstRunFile::xdgExitCodes()
{
    QVERIFY(shellCodeForXdgExit(0, false) >= 32);
    QCOMPARE(shellCodeForXdgExit(2, false), 2);
    QCOMPARE(shellCodeForXdgExit(3, false), 31);
    QCOMPARE(shellCodeForXdgExit(4, false), 31);
    QVERIFY(shellCodeForXdgExit(0, true) < 32);
    QVERIFY(shellCodeForXdgExit(1, false) < 32);
}

QString TstRunFile::script(const TestProgramFolder& folder, const QByteArray& body)
{
    folder.write("fake-xdg-open", "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(folder.file("fake-xdg-open"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder.file("fake-xdg-open");
}

// A desktop without a handler, or without xdg-open itself: the box says so.
void TstRunFile::realOpenerReportsNoHandler()
{
    TestProgramFolder folder;
    FakeMessageBox boxes;
    // Like xdg-open on a desktop without a browser: it answers only after a while.
    XdgOpener opener(script(folder, "sleep 0.5; touch \"$0.done\"; echo \"no method available for opening "
                                    "'$1'\" >&2; exit 3"));
    const ServiceScope desktop({.opener = &opener});
    RunFile(folder.file("help.htm"), QString(), 1);
    QVERIFY(!QFile::exists(folder.file("fake-xdg-open.done"))); // RunFile never waits for the handler
    QVERIFY(boxes.calls.isEmpty());
    const QString none = "No application found for this file|17|RunFile";
    QTRY_COMPARE_WITH_TIMEOUT(boxes.shown(), QStringList{none}, 10000);

    XdgOpener missing(folder.file("no-such-opener"));
    const ServiceScope noOpener({.opener = &missing});
    RunFile("https://www.example.org/", QString(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.shown(), QStringList(2, none), 10000);
}

void TstRunFile::realOpenerSuccessIsQuiet()
{
    TestProgramFolder folder;
    FakeMessageBox boxes;
    XdgOpener opener(script(folder, "echo \"$1\" > \"$(dirname \"$0\")/opened\"; exit 0"));
    const ServiceScope desktop({.opener = &opener});
    RunFile("mailto: someone@example.org", QString(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(folder.read("opened") == "mailto: someone@example.org\n", 10000);
    QTest::qWait(100);
    QVERIFY(boxes.calls.isEmpty());
}

QTEST_GUILESS_MAIN(TstRunFile)
#include "tst_run_file.moc"
