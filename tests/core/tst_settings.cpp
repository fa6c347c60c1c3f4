// Typed settings: number reads, gkey's reads and writes by type, and refused writes.
#include "core/app_state.h"
#include "core/settings.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QTest>

using namespace tavi;
using tavi::test::FakeMessageBox;
using tavi::test::TestProgramFolder;

class TstSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readNumber_data();
    void readNumber();
    void readShort_data();
    void readShort();
    void readByType();
    void writeTextForms();
    void wrongCallsAndRefusedWritesShowBoxes();
};

void TstSettings::readNumber_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("blanks around") << QByteArray("  7\t") << 7;
    QTest::newRow("1.5 to even 2") << QByteArray("1.5") << 2;
    QTest::newRow("0.5 to even 0") << QByteArray("0.5") << 0;
    QTest::newRow("-3.5 to even -4") << QByteArray("-3.5") << -4;
    QTest::newRow("2.6 rounds up") << QByteArray("2.6") << 3;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000;
    QTest::newRow("leading dot") << QByteArray(".7") << 1;
    QTest::newRow("plus sign") << QByteArray("+4") << 4;
    QTest::newRow("no digits") << QByteArray("e5") << NotANumber;
    QTest::newRow("comma decimal") << QByteArray("1,5") << NotANumber;
    QTest::newRow("empty") << QByteArray("") << NotANumber;
    QTest::newRow("1e400 overflows a double") << QByteArray("1e400") << NotANumber;
    QTest::newRow("beyond 32 bits") << QByteArray("3000000000") << NotANumber;
    QTest::newRow("stored -9999") << QByteArray("-9999") << NotANumber;
}

void TstSettings::readNumber()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("tavi.ini", "[Tavi]\nn=" + stored + "\n");
    QCOMPARE(ReadSettingNumber("n"), expected);
    QCOMPARE(ReadSettingNumber("missing"), NotANumber);
}

void TstSettings::readShort_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("x reads default") << QByteArray("x") << 1;
    QTest::newRow("above 16 bits reads default") << QByteArray("40000") << 1;
    QTest::newRow("16-bit limit") << QByteArray("32767") << 32767;
    QTest::newRow("negative") << QByteArray("-32768") << -32768;
}

void TstSettings::readShort()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("tavi.ini", "[Tavi]\nflash_ch_sound=" + stored + "\n");
    // The default comes as text, as the windows pass it.
    QVariant v = QVariant::fromValue<qint16>(0);
    const QVariant result = gkey("R", "flash_ch_sound", v, "1");
    QCOMPARE(v.typeId(), int(QMetaType::Short));
    QCOMPARE(int(v.value<qint16>()), expected);
    QCOMPARE(result, v);
}

void TstSettings::readByType()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("tavi.ini", "[Tavi]\nmain_glang=  GERMAN\nload_txt_more=\n"
                             "i=70000.4\nf=2.7\nb1=True\nb2=true\nb3=False\n");
    QCOMPARE(gkeyValue<QString>("R", "main_glang", QString(), "ENGLISH"), QString("GERMAN"));
    // A stored empty value and a missing key both give the default.
    QCOMPARE(gkeyValue<QString>("R", "load_txt_more", QString("before"), ""), QString(""));
    QCOMPARE(gkeyValue<QString>("R", "load_txt_chap", QString(), "1, 2, 3"), QString("1, 2, 3"));
    // The default's text form is used for a text setting.
    QCOMPARE(gkeyValue<QString>("R", "brainwash_hotkey", QString(), 0), QString("0"));
    QCOMPARE(gkeyValue<qint32>("R", "i", 0, 5), 70000);
    QCOMPARE(gkeyValue<float>("R", "f", 0.0f, 1), 3.0f); // a stored fraction is lost
    QCOMPARE(gkeyValue<float>("R", "missing", 0.0f, 1.5), 1.5f);
    QCOMPARE(gkeyValue<bool>("R", "b1", false, "False"), true);
    QCOMPARE(gkeyValue<bool>("R", "b2", true, "False"), false); // "true" is not recognised
    QCOMPARE(gkeyValue<bool>("R", "b3", true, true), false);
    QCOMPARE(gkeyValue<bool>("R", "missing", false, true), true);
}

void TstSettings::writeTextForms()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QCOMPARE(gkeyValue<bool>("W", "tools_do_logging", true, "False"), true);
    gkeyValue<qint16>("W", "main_lang2", qint16(2138), 2137);
    gkeyValue<qint32>("W", "big", -70000, 0);
    gkeyValue<QString>("W", "main_glang", QString("GERMAN"), "ENGLISH");
    QCOMPARE(folder.read("tavi.ini"),
             QByteArray("[Tavi]\ntools_do_logging=True\nmain_lang2=2138\nbig=-70000\nmain_glang=GERMAN\n"));
}

// A wrong mode or type is said and changes nothing; a settings file that cannot be
// written is said for each value.
void TstSettings::wrongCallsAndRefusedWritesShowBoxes()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    FakeMessageBox boxes;
    QVariant v = QVariant::fromValue<qint16>(5);
    QCOMPARE(gkey("r", "k", v, 1), QVariant::fromValue<qint16>(5));
    QVariant d = 2.5; // a double is not one of the setting types
    QCOMPARE(gkey("R", "k", d, 1), QVariant(2.5));
    QCOMPARE(boxes.shown(), (QStringList{"gkey error|0|Tavi", "gkey vartype error|0|Tavi"}));
    QVERIFY(folder.read("tavi.ini").isEmpty());

    SettingsFile = folder.file("no such folder/tavi.ini");
    WriteSetting("a", "1");
    gkeyValue<qint16>("W", "b", qint16(2), 0);
    QCOMPARE(boxes.shown().mid(2), QStringList(2, "WritePrivateProfileString - ERROR|0|Tavi"));
    QCOMPARE(ReadSettingNumber("b"), NotANumber);
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
