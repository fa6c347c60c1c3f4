// The installation check: the desktop's input methods found by their files, and the
// window's rows, colours and links, with a fake of the desktop.
#include "core/app_state.h"
#include "install/install_probe.h"
#include "support/window_test.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

// Each link and the section of the help page it opens.
const std::pair<const char*, const char*> kLinks[] = {{"lbl_link_ie5", "install_input"},
                                                      {"lbl_link_ime", "install_ime"},
                                                      {"lbl_link_snd1", "install_sound"},
                                                      {"lbl_link_snd2", "install_sound"},
                                                      {"lbl_link_snd3", "install_sound"}};

struct Check : WindowTest {
    explicit Check(const QStringList& sounds = {"a1.wav", "jie1.wav", "shen1.wav"})
    {
        QDir(folder.path()).mkdir("sound");
        for (const QString& s : sounds)
            folder.write("sound/" + s, "RIFF");
        HelpFile = folder.file("help.htm");
    }
    QLabel* label(const QString& name) const { return child<QLabel>(name); }
    QColor colour(const QString& name, QPalette::ColorRole role) const
    {
        return label(name)->palette().color(role);
    }
    void move(QWidget* over) const
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), over->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &e);
    }
};

} // namespace

class TstInstallWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void probeFindsTheDesktopsFiles_data();
    void probeFindsTheDesktopsFiles();
    void rows_data();
    void rows();
    void linksFollowTheMouseAndOpenTheHelpSections();
};

void TstInstallWindow::probeFindsTheDesktopsFiles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("connection");
    QTest::addColumn<bool>("chinese");
    const QString ibus = "bin:/usr/bin/ibus-daemon";
    const QString ibusQt = "/qt/platforminputcontexts/libibusplatforminputcontextplugin.so";
    const QString fcitx = "bin:/usr/bin/fcitx5";
    const QString fcitxQt = "/qt/platforminputcontexts/libfcitx5platforminputcontextplugin.so";
    const QString pinyin = "/usr/share/ibus/component/libpinyin.xml";
    const QString rime = "/usr/share/ibus/component/rime.xml";
    QTest::newRow("nothing") << QStringList{} << false << false;
    QTest::newRow("IBus") << QStringList{ibus, ibusQt} << true << false;
    QTest::newRow("IBus with pinyin") << QStringList{ibus, ibusQt, pinyin} << true << true;
    QTest::newRow("IBus without Qt's plug-in") << QStringList{ibus, rime} << false << true;
    QTest::newRow("IBus's plug-in, no daemon") << QStringList{ibusQt, pinyin} << false << false;
    QTest::newRow("a daemon that cannot run")
        << QStringList{"/usr/bin/ibus-daemon", ibusQt} << false << false;
    QTest::newRow("fcitx5 with Chinese")
        << QStringList{fcitx, fcitxQt, "/usr/local/share/fcitx5/inputmethod/pinyin.conf"} << true << true;
    QTest::newRow("fcitx5 with IBus's engines") << QStringList{fcitx, fcitxQt, rime} << true << false;
}

void TstInstallWindow::probeFindsTheDesktopsFiles()
{
    QFETCH(QStringList, files);
    QFETCH(bool, connection);
    QFETCH(bool, chinese);
    QTemporaryDir root;
    for (QString name : files) { // "bin:" before a program's name
        const bool program = name.startsWith("bin:");
        QFile f(root.path() + name.remove("bin:"));
        QVERIFY(QDir().mkpath(QFileInfo(f).path()) && f.open(QIODevice::WriteOnly));
        QVERIFY(!program || f.setPermissions(f.permissions() | QFile::ExeOwner));
    }
    const DesktopInstallProbe probe(root.path(), "/qt");
    QCOMPARE(probe.inputConnection(), connection);
    QCOMPARE(probe.chineseInputMethod(), chinese);
}

// Each row shows, in words and colour, whether what it names was found; sound files are
// found whatever their case.
void TstInstallWindow::rows_data()
{
    QTest::addColumn<bool>("connection");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("everything") << true << true << QStringList{"a1.wav", "JIE1.WAV", "shen1.wav"};
    QTest::newRow("nothing but the core") << false << false << QStringList{};
    QTest::newRow("a connection, one sound")
        << true << false << QStringList{"jie1.wav", "a2.wav", "shen.wav"};
}

void TstInstallWindow::rows()
{
    QFETCH(bool, connection);
    QFETCH(bool, chinese);
    QFETCH(QStringList, sounds);
    Check c(sounds);
    c.probe.connection = connection;
    c.probe.chinese = chinese;
    c.open("frm_install");
    const std::pair<const char*, bool> rows[] = {
        {"lbl_inst_standard", true},
        {"lbl_inst_shell", connection},
        {"lbl_inst_ime", chinese},
        {"lbl_inst_snd1", sounds.contains("a1.wav")},
        {"lbl_inst_snd2", sounds.contains("JIE1.WAV") || sounds.contains("jie1.wav")},
        {"lbl_inst_snd3", sounds.contains("shen1.wav")},
    };
    for (const auto& [name, installed] : rows) {
        QCOMPARE(c.text(name), english(installed ? "install_installed" : "install_not_installed"));
        QCOMPARE(c.colour(name, QPalette::Window), installed ? QColor(0, 255, 0) : QColor(255, 255, 255));
    }
    c.screenshot("install_" + QString(QTest::currentDataTag()).replace(' ', '_').remove(','));
    c.click("bt_ok");
    QCOMPARE(c.registry.find("frm_install"), nullptr);
}

// A link turns red under the mouse and back to blue over the window; a click opens its
// section of the help page, and a missing page is said in a box.
void TstInstallWindow::linksFollowTheMouseAndOpenTheHelpSections()
{
    Check c;
    c.open("frm_install");
    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    c.move(c.label("lbl_link_ime"));
    c.move(c.label("lbl_link_snd2"));
    for (const auto& [link, section] : kLinks) // no leave event: the first stays red
        QCOMPARE(c.colour(link, QPalette::WindowText),
                 qstrcmp(link, "lbl_link_ime") == 0 || qstrcmp(link, "lbl_link_snd2") == 0 ? red : blue);
    c.move(c.window);
    for (const auto& [link, section] : kLinks) {
        QCOMPARE(c.colour(link, QPalette::WindowText), blue);
        QTest::mouseClick(c.label(link), Qt::LeftButton);
        QCOMPARE(c.opener.calls.last().target, QUrl::fromLocalFile(HelpFile).toString() + "#" + section);
    }
    QCOMPARE(c.opener.calls.size(), 5);
    QVERIFY(c.boxes.calls.isEmpty());

    QFile::remove(HelpFile);
    QTest::mouseClick(c.label("lbl_link_ime"), Qt::LeftButton);
    QCOMPARE(c.opener.calls.size(), 5);
    QCOMPARE(c.boxes.shown(), QStringList{"File Not Found|17|RunFile"});
}

QTEST_MAIN(TstInstallWindow)
#include "tst_install_window.moc"
