// Every window the program can open, in English and in German, as a learner first sees
// it: it opens under its own name, no two of its controls share a name, no caption is
// empty or a bare language key, it fits a 1280 x 800 screen; a screenshot of each.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/main_window.h"
#include "support/window_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

class TstAllWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWindow_data();
    void everyWindow();
};

void TstAllWindows::everyWindow_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    WindowRegistry registry;
    registerAllWindows(registry);
    for (const char* language : {"ENGLISH", "GERMAN"})
        for (const QString& name : registry.names())
            QTest::addRow("%s %s", language, qPrintable(name)) << QString(language) << name;
}

void TstAllWindows::everyWindow()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    WindowTest t;
    t.folder.prepareTraining({{"1", "ni3hao3", "你好", "hello", "1", ""},
                              {"2", "xie4xie0", "谢谢", "thank you", "1", ""},
                              {"0", "zai4jian4", "再见", "goodbye", "2", "x"}},
                             "main_lang2=100\nmain_glang=" + language.toLatin1() + "\n");
    MainWindow main; // after the harness's stand-in hub, so that it is the hub
    main.Form_Load(t.folder.path());
    QCOMPARE(LanguageSection, language);

    // The import window asks for its file first.
    t.folder.write("deck.txt", "你好\tni3hao3\thello\n");
    t.dialogs.answers << t.folder.file("deck.txt");
    QWidget* window = t.open(name);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->objectName(), name);

    // Names are how tests and users' scripts find controls: each one once.
    QSet<QString> names;
    for (const QObject* child : window->findChildren<QObject*>()) {
        const QString n = child->objectName();
        if (n.isEmpty() || n.startsWith(u"qt_"))
            continue;
        QVERIFY2(!names.contains(n), qPrintable("two controls named " + n));
        names.insert(n);
    }

    // A caption is a text of the language file, never its key.
    static const QRegularExpression key(QStringLiteral("^[a-z][a-z0-9]*_[A-Za-z0-9_]+$"));
    auto check = [&](const QString& what, const QString& text, bool mayBeEmpty) {
        QVERIFY2(mayBeEmpty || !text.trimmed().isEmpty(), qPrintable(what + " has no caption"));
        QVERIFY2(!key.match(text).hasMatch(), qPrintable(what + " shows " + text));
    };
    check(name + " title", window->windowTitle(), false);
    // A check box may take its caption from a label beside it; a button has its own.
    for (const QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isVisible())
            check(b->objectName(), b->text(), !b->icon().isNull());
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        check(b->objectName(), b->text(), true);
    for (const QLabel* l : window->findChildren<QLabel*>())
        check(l->objectName(), l->text(), true);
    for (const QGroupBox* g : window->findChildren<QGroupBox*>())
        check(g->objectName(), g->title(), true);
    for (const QAction* a : window->findChildren<QAction*>())
        if (!a->isSeparator())
            check(a->objectName(), a->text(), a->objectName().isEmpty());

    const QSize size = window->frameGeometry().size();
    QVERIFY2(size.width() <= 1280 && size.height() <= 800,
             qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
    t.screenshot(QStringLiteral("all_%1_%2").arg(name, language.toLower()));
}

QTEST_MAIN(TstAllWindows)
#include "tst_all_windows.moc"
