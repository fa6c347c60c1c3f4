// The about window: captions, links, the hover colours and OK.
#include "app/all_windows.h"
#include "core/about_window.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/links.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

QColor textColor(QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

struct Opened {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeOpener opener;
    WindowRegistry registry;
    QWidget* window = nullptr;

    Opened()
    {
        registerAllWindows(registry);
        QVERIFY(registry.open("frm_about"));
        window = registry.find("frm_about");
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(QLatin1String(name)); }
    QPushButton* button(const char* name) const
    {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
};

} // namespace

class TstAboutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionsAndLinks();
    void hoverColoursHaveNoLeaveEvent();
    void linksOpenMailAndWeb();
    void mailWithoutHandlerIsReported();
    void okHidesAndAboutShowsSameWindow();
    void installButtonOpensInstallationCheck();
};

void TstAboutWindow::captionsAndLinks()
{
    Opened o;
    QCOMPARE(o.label("Label4")->text(), links::SupportMail);
    QCOMPARE(o.label("Label4")->toolTip(), "Click here to send an email to " + links::SupportMail);
    QCOMPARE(o.label("txt_www")->toolTip(), QString("Click here to surf to our homepage !"));
    for (const char* name : {"Label4", "txt_www"}) {
        QVERIFY(o.label(name)->font().bold());
        QVERIFY(o.label(name)->font().underline());
        QCOMPARE(textColor(o.label(name)), QColor(0, 0, 255));
    }
    QVERIFY(o.label("Picture1")->pixmap().width() > 0);
    QVERIFY(o.label("Picture2")->pixmap().width() > 0);
}

void TstAboutWindow::hoverColoursHaveNoLeaveEvent()
{
    Opened o;
    QLabel* mail = o.label("Label4");
    QLabel* web = o.label("txt_www");
    // Moves through the window system, so that Qt picks the widget under the pointer.
    auto over = [&](QWidget* w) {
        QTest::mouseMove(o.window->windowHandle(), w->mapTo(o.window, w->rect().center()));
    };
    over(mail);
    QTRY_COMPARE(textColor(mail), QColor(255, 0, 0));
    QCOMPARE(textColor(web), QColor(0, 0, 255));
    over(web); // straight from one link to the other
    QTRY_COMPARE(textColor(web), QColor(255, 0, 0));
    QCOMPARE(textColor(mail), QColor(255, 0, 0));
    over(o.label("txt_tavi")); // another control is not the background
    QCOMPARE(textColor(mail), QColor(255, 0, 0));
    QTest::mouseMove(o.window->windowHandle(), QPoint(4, 4)); // the window's own margin
    QTRY_COMPARE(textColor(mail), QColor(0, 0, 255));
    QCOMPARE(textColor(web), QColor(0, 0, 255));
}

void TstAboutWindow::linksOpenMailAndWeb()
{
    Opened o;
    QTest::mouseClick(o.label("Label4"), Qt::LeftButton);
    QTest::mouseClick(o.label("txt_www"), Qt::LeftButton);
    QCOMPARE(o.opener.calls.size(), 2);
    QCOMPARE(o.opener.calls[0].target, "mailto: " + links::SupportMail);
    QCOMPARE(o.opener.calls[1].target, links::HomePage);
}

void TstAboutWindow::mailWithoutHandlerIsReported()
{
    Opened o;
    o.opener.immediateCode = 31;
    QTest::mouseClick(o.label("Label4"), Qt::LeftButton);
    QCOMPARE(o.boxes.calls.size(), 1);
    QCOMPARE(o.boxes.calls[0].text, QString("No application found for this file"));
    QCOMPARE(o.boxes.calls[0].title, QString("RunFile"));
    QVERIFY(o.window->isVisible());
}

void TstAboutWindow::okHidesAndAboutShowsSameWindow()
{
    Opened o;
    const QString caption = o.button("bt_ok")->text();
    QTest::mouseClick(o.button("bt_ok"), Qt::LeftButton);
    QVERIFY(!o.window->isVisible());
    // Were the window loaded again, it would pick up the changed text.
    QVERIFY(ini::write(LanguageFile, "ENGLISH", "about_bt_ok", "Changed"));
    QVERIFY(o.registry.open("frm_about"));
    QCOMPARE(o.registry.find("frm_about"), o.window);
    QVERIFY(o.window->isVisible());
    QCOMPARE(o.button("bt_ok")->text(), caption);

    // From the moment it opens, Enter and Escape are OK too.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QCOMPARE(o.window->focusWidget(), o.button("bt_ok"));
        QTest::keyClick(o.window->focusWidget(), key);
        QVERIFY(!o.window->isVisible());
        QVERIFY(o.registry.open("frm_about"));
    }
    QVERIFY(o.opener.calls.isEmpty());
}

void TstAboutWindow::installButtonOpensInstallationCheck()
{
    Opened o;
    QWidget* opened = nullptr;
    o.registry.add("frm_install", [&] { return opened = new QWidget; });
    QTest::mouseClick(o.button("bt_install"), Qt::LeftButton);
    QVERIFY(opened && opened->isVisible());
    QVERIFY(o.window->isVisible());
}

QTEST_MAIN(TstAboutWindow)
#include "tst_about_window.moc"
