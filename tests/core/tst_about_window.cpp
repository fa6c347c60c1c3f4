// The about window: its links, their hover colours, and OK.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/links.h"
#include "support/window_test.h"

#include <QLabel>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

struct About : WindowTest {
    About()
    {
        QVERIFY(open("frm_about"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    QLabel* label(const QString& name) const { return child<QLabel>(name); }
    QColor colour(const QString& name) const { return label(name)->palette().color(QPalette::WindowText); }
};

} // namespace

class TstAboutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linksOpen_data();
    void linksOpen();
    void hoverColoursHaveNoLeaveEvent();
    void okHidesAndAboutShowsSameWindow();
};

void TstAboutWindow::linksOpen_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("code"); // what the desktop answers
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("box");
    QTest::newRow("mail") << "Label4" << 0 << "mailto: " + links::SupportMail << "";
    QTest::newRow("web") << "txt_www" << 0 << links::HomePage << "";
    QTest::newRow("mail without a handler") << "Label4" << 31 << "mailto: " + links::SupportMail
                                            << "No application found for this file|17|RunFile";
}

void TstAboutWindow::linksOpen()
{
    QFETCH(QString, link);
    QFETCH(int, code);
    QFETCH(QString, target);
    QFETCH(QString, box);
    About t;
    QCOMPARE(t.text("Label4") + " " + t.text("txt_www"), links::SupportMail + " " + links::HomePage);
    QVERIFY(t.label("Picture1")->pixmap().width() > 0);
    QVERIFY(t.label("Picture2")->pixmap().width() > 0);
    if (code != 0)
        t.opener.immediateCode = code;
    QTest::mouseClick(t.label(link), Qt::LeftButton);
    QCOMPARE(t.opener.calls.size(), 1);
    QCOMPARE(t.opener.calls[0].target, target);
    QCOMPARE(t.boxes.shown(), box.isEmpty() ? QStringList() : QStringList{box});
    QVERIFY(t.window->isVisible());
}

void TstAboutWindow::hoverColoursHaveNoLeaveEvent()
{
    About t;
    const QColor blue(0, 0, 255), red(255, 0, 0);
    QCOMPARE(t.colour("Label4"), blue);
    // Moves through the window system, so that Qt picks the widget under the pointer.
    auto over = [&](const char* name) {
        QWidget* w = t.child(name);
        QTest::mouseMove(t.window->windowHandle(), w->mapTo(t.window, w->rect().center()));
    };
    over("Label4");
    QTRY_COMPARE(t.colour("Label4"), red);
    QCOMPARE(t.colour("txt_www"), blue);
    over("txt_www"); // straight from one link to the other
    QTRY_COMPARE(t.colour("txt_www"), red);
    QCOMPARE(t.colour("Label4"), red);
    over("txt_tavi"); // another control is not the background
    QCOMPARE(t.colour("Label4"), red);
    QTest::mouseMove(t.window->windowHandle(), QPoint(4, 4)); // the window's own margin
    QTRY_COMPARE(t.colour("Label4"), blue);
    QCOMPARE(t.colour("txt_www"), blue);
}

void TstAboutWindow::okHidesAndAboutShowsSameWindow()
{
    About t;
    const QString caption = t.text("bt_ok");
    QTest::mouseClick(t.button("bt_ok"), Qt::LeftButton);
    QVERIFY(!t.window->isVisible());
    // Were the window loaded again, it would pick up the changed text.
    QVERIFY(ini::write(LanguageFile, "ENGLISH", "about_bt_ok", "Changed"));
    QWidget* first = t.window;
    QVERIFY(t.open("frm_about"));
    QCOMPARE(t.window, first);
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.text("bt_ok"), caption);

    // From the moment it opens, Enter and Escape are OK too.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QCOMPARE(t.window->focusWidget(), t.button("bt_ok"));
        QTest::keyClick(t.window->focusWidget(), key);
        QVERIFY(!t.window->isVisible());
        QVERIFY(t.open("frm_about"));
    }
    QVERIFY(t.opener.calls.isEmpty());

    t.click("bt_install"); // the installation check opens beside it
    QWidget* check = t.registry.find("frm_install");
    QVERIFY(check && check->isVisible() && t.window->isVisible());
}

QTEST_MAIN(TstAboutWindow)
#include "tst_about_window.moc"
