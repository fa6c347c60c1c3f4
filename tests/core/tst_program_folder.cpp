// Where the program keeps its files: beside the executable, or, installed, in the
// user's own folder with the read-only files shared.
#include "core/app_state.h"
#include "core/program_folder.h"
#include "sound/sound_index.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavi;

namespace {

void put(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layouts();
    void firstStartCopiesWhatTheUserMayChange();
    void ownFilesComeFirst();
};

void TstProgramFolder::layouts()
{
    QTemporaryDir root;
    const QString bin = root.filePath("bin");
    const QString home = root.filePath("home/.local/share");
    QDir().mkpath(bin);
    // Nothing installed beside it: the executable's folder, as a bare copy always was.
    ProgramLayout l = programLayout(bin, home);
    QCOMPARE(l.program, bin);
    QVERIFY(!l.perUser);

    put(root.filePath("share/tavi/language.ini"));
    l = programLayout(bin, home);
    QCOMPARE(l.program, home + "/tavi");
    QCOMPARE(l.shared, root.filePath("share/tavi"));
    QVERIFY(l.perUser);

    put(bin + "/language.ini"); // a portable copy next to an installed one
    l = programLayout(bin, home);
    QCOMPARE(l.program, bin);
    QCOMPARE(l.shared, bin);
    QVERIFY(!l.perUser);
}

void TstProgramFolder::firstStartCopiesWhatTheUserMayChange()
{
    QTemporaryDir root;
    const ProgramLayout l{root.filePath("user/tavi"), root.filePath("share"), true};
    for (const char* name :
         {"language.ini", "help.htm", "help_d.htm", "help_n.htm", "my_vocabulary/pcr1-10u.txt",
          "meine vokabeln/pcr1-10u_d.txt", "chars.dat", "sound/a1.wav"})
        put(l.shared + "/" + name, name);
    QFile::setPermissions(l.shared + "/language.ini", QFile::ReadOwner);
    put(l.program + "/help.htm", "the user's own");

    QCOMPARE(prepareUserFolder(l), QString());
    QCOMPARE(contents(l.program + "/language.ini"), QByteArray("language.ini"));
    QVERIFY(QFileInfo(l.program + "/language.ini").isWritable());
    QCOMPARE(contents(l.program + "/help.htm"), QByteArray("the user's own"));
    QCOMPARE(contents(l.program + "/meine vokabeln/pcr1-10u_d.txt"),
             QByteArray("meine vokabeln/pcr1-10u_d.txt"));
    QVERIFY(!QFileInfo::exists(l.program + "/chars.dat")); // read where it is installed
    QVERIFY(!QFileInfo::exists(l.program + "/sound"));

    put(l.program + "/my_vocabulary/pcr1-10u.txt", "edited");
    QCOMPARE(prepareUserFolder(l), QString()); // every later start
    QCOMPARE(contents(l.program + "/my_vocabulary/pcr1-10u.txt"), QByteArray("edited"));

    const ProgramLayout blocked{root.filePath("share/language.ini/tavi"), l.shared, true};
    QVERIFY(prepareUserFolder(blocked).contains(QDir::toNativeSeparators(blocked.program)));
}

void TstProgramFolder::ownFilesComeFirst()
{
    QTemporaryDir root;
    const QString user = root.filePath("user");
    const QString shared = root.filePath("share");
    put(shared + "/chars.dat");
    put(shared + "/cards.jpg");
    put(user + "/cards.jpg");
    put(shared + "/sound/ni3.wav");
    put(shared + "/sound/hao3.wav");
    put(user + "/sound/Hao3.wav");
    initProgramPaths(user, shared);
    QCOMPARE(programFile("chars.dat"), QDir::toNativeSeparators(shared + "/chars.dat"));
    QCOMPARE(programFile("cards.jpg"), QDir::toNativeSeparators(user + "/cards.jpg"));
    QCOMPARE(findSound("ni3.wav"), QDir::toNativeSeparators(shared + "/sound/ni3.wav"));
    QCOMPARE(findSound("hao3.wav"), QDir::toNativeSeparators(user + "/sound/Hao3.wav"));
    QCOMPARE(findSound("wo3.wav"), QString());

    initProgramPaths(user); // a build folder has nothing shared
    QCOMPARE(programFile("chars.dat"), QDir::toNativeSeparators(user + "/chars.dat"));
    QCOMPARE(findSound("ni3.wav"), QString());
}

QTEST_GUILESS_MAIN(TstProgramFolder)
#include "tst_program_folder.moc"
