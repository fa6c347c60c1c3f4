// Language lookups, their self-filling, and the shipped language file itself.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/language.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace tavi;
using tavi::test::FakeMessageBox;
using tavi::test::TestProgramFolder;

namespace {

// Every language key the program's windows look up.
const QStringList kAllKeys = {"main_txt_title",
                              "main_txt_status_load",
                              "main_welcome",
                              "main_loadvoc",
                              "main_end",
                              "main_bt_flash",
                              "main_bt_autovoc",
                              "main_bt_speakpinyin",
                              "main_bt_brain",
                              "main_bt_game1",
                              "main_bt_edit",
                              "main_bt_about",
                              "main_bt_help",
                              "main_txt_status_flash",
                              "main_txt_status_autovoc",
                              "main_txt_status_speakpinyin",
                              "main_txt_status_brain",
                              "main_txt_status_game1",
                              "main_txt_status_edit",
                              "main_txt_status_about",
                              "main_txt_status_goodbye",
                              "bt_OK",
                              "bt_yes",
                              "bt_no",
                              "about_bt_ok",
                              "about_bt_install",
                              "about_tavititle",
                              "load_loadvoc",
                              "load_lbl_vocfile",
                              "load_lbl_studyfile",
                              "load_txt_of",
                              "load_more_sel",
                              "load_numofvoc",
                              "load_vocall",
                              "load_chapter",
                              "load_level",
                              "load_bt_selvoc",
                              "load_bt_browse",
                              "load_loaddialog",
                              "edit_bt_OK",
                              "edit_bt_cancel",
                              "edit_fontsize",
                              "edit_input",
                              "edit_current_file",
                              "edit_discard_changes",
                              "tools_do_log",
                              "speak_speak",
                              "flash_title",
                              "flash_speaking",
                              "flash_feedback",
                              "flash_nextround",
                              "flash_welldone",
                              "flash_chinese",
                              "flash_pinyin",
                              "flash_translation",
                              "flash_known",
                              "flash_round",
                              "flash_voc_this_round",
                              "flash_bt_repeat",
                              "flash_bt_goon",
                              "flash__btstart",
                              "flash_bt_stop",
                              "autof_title",
                              "autof_timebetween",
                              "autof_timeuntil",
                              "autof_bt_start",
                              "autof_bt_stop",
                              "brainwash_title",
                              "brainwash_intervall",
                              "brainwash_whattodisplay",
                              "brainwash_usehotkey",
                              "brainwash_periode_tip",
                              "brainwash_nohotkey",
                              "game1_start",
                              "game1_char",
                              "game1_pinyin",
                              "game1_sound",
                              "game1_press",
                              "game1_go",
                              "game1_done",
                              "install_installed",
                              "install_not_installed",
                              "install_ie",
                              "install_ime",
                              "install_snd",
                              "install_core",
                              "install_optional",
                              "install_connected",
                              "install_link",
                              "install_need_input",
                              "flash_bt_undo",
                              "flash_nothing",
                              "flash_summary",
                              "main_txt_status_nowords",
                              "load_file_empty",
                              "load_file_unreadable",
                              "load_file_too_large",
                              "load_reading",
                              "save_file_changed",
                              "save_file_deleted",
                              "save_file_other_name",
                              "save_file_title",
                              "game1_nowords"};

} // namespace

class TstLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupReadsCurrentSection();
    void missingKeyFillsItselfIn();
    void emptyEntryCountsAsMissing();
    void longTextIsCut();
    void unwritableFileStaysQuiet();
    void shippedFileHasEveryKey_data();
    void shippedFileHasEveryKey();
    void shippedNewSectionIsEmpty();
    void helpPages();
};

void TstLanguage::lookupReadsCurrentSection()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("language.ini", "[ENGLISH]\nbt_yes=Yes\n[GERMAN]\nbt_yes=Ja\n");
    LanguageSection = "GERMAN";
    QCOMPARE(LangText("bt_yes"), QString("Ja"));
    LanguageSection = "ENGLISH";
    QCOMPARE(LangText("bt_yes"), QString("Yes"));
    // Not cached: an edit made while the program runs shows at the next lookup.
    QVERIFY(ini::write(LanguageFile, "ENGLISH", "bt_yes", "Yes!"));
    QCOMPARE(LangText("bt_yes"), QString("Yes!"));
}

void TstLanguage::missingKeyFillsItselfIn()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("language.ini", "[ENGLISH]\nbt_yes=Yes\n");
    LanguageSection = "NEW";
    QCOMPARE(LangText("main_bt_flash"), QString());
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(LangText("main_bt_flash"), QString("main_bt_flash"));
    QCOMPARE(folder.read("language.ini"),
             QByteArray("[ENGLISH]\nbt_yes=Yes\n[NEW]\nmain_bt_flash=main_bt_flash\nmain_end=main_end\n"));
}

void TstLanguage::emptyEntryCountsAsMissing()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("language.ini", "[ENGLISH]\nmain_end=\nbt_no=No\n");
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(folder.read("language.ini"), QByteArray("[ENGLISH]\nmain_end=main_end\nbt_no=No\n"));
    QCOMPARE(LangText("main_end"), QString("main_end"));
}

void TstLanguage::longTextIsCut()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("language.ini", "[ENGLISH]\nmain_welcome=" + QByteArray(700, 'w') + "\n");
    QCOMPARE(LangText("main_welcome").size(), 498);
}

void TstLanguage::unwritableFileStaysQuiet()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    LanguageFile = folder.file("gone/language.ini");
    FakeMessageBox boxes;
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(LangText("main_end"), QString());
    QVERIFY(boxes.calls.isEmpty());
}

void TstLanguage::shippedFileHasEveryKey_data()
{
    QTest::addColumn<QString>("section");
    QTest::newRow("ENGLISH") << "ENGLISH";
    QTest::newRow("GERMAN") << "GERMAN";
}

void TstLanguage::shippedFileHasEveryKey()
{
    QFETCH(QString, section);
    const QString file = tavi::test::shippedData("language.ini");
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY2(QString::fromUtf8(bytes).toUtf8() == bytes, "language.ini must be UTF-8");
    for (const QString& key : kAllKeys) {
        const QString text = ini::read(file, section, key);
        QVERIFY2(!text.isEmpty(), qPrintable(section + ": no text for " + key));
        QVERIFY2(text != key, qPrintable(section + ": untranslated " + key));
    }
    QVERIFY(ini::read(file, section, "main_welcome").size() < 498);
}

void TstLanguage::shippedNewSectionIsEmpty()
{
    QFile f(tavi::test::shippedData("language.ini"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    const auto match = QRegularExpression(QStringLiteral("\\n\\[NEW\\]\\s*$")).match(text);
    QVERIFY2(match.hasMatch(), "the NEW section comes last and is empty");
}

void TstLanguage::helpPages()
{
    TestProgramFolder folder;
    QCOMPARE(helpPageFor("ENGLISH"), folder.file("help.htm"));
    QCOMPARE(helpPageFor("GERMAN"), folder.file("help_d.htm"));
    QCOMPARE(helpPageFor("NEW"), folder.file("help_n.htm"));
    for (const char* page : {"help.htm", "help_d.htm", "help_n.htm"}) {
        const QByteArray html = folder.read(QLatin1String(page));
        QVERIFY(html.contains("<meta charset=\"utf-8\">"));
        // The sections the installation check links to.
        for (const char* id : {"install_input", "install_ime", "install_sound"})
            QVERIFY2(html.contains(QByteArray("id=\"") + id + '"'), id);
    }
}

QTEST_GUILESS_MAIN(TstLanguage)
#include "tst_language.moc"
