// The shared window-test harness.
#include "support/window_test.h"

#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "sound/pinyin_display.h"
#include "ui/unicode_text_box.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <utility>

namespace tavi::test {

WindowTest::WindowTest(TestProgramFolder::Contents contents) : folder(contents)
{
    registerAllWindows(registry);
}

WindowTest::~WindowTest()
{
    registry.unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* WindowTest::open(const QString& name)
{
    PinyinDisplayNotifier::instance().reload(); // as the program does once its folder is known
    window = registry.open(name) ? registry.find(name) : nullptr;
    return window;
}

QWidget* WindowTest::train(const QString& name, const QList<VocRow>& words, const QByteArray& settings)
{
    folder.prepareTraining(words, settings);
    return open(name);
}

QString WindowTest::text(const QString& name) const
{
    QWidget* c = child(name);
    if (auto* field = qobject_cast<QLineEdit*>(c))
        return field->text();
    if (auto* label = qobject_cast<QLabel*>(c))
        return label->text();
    if (auto* box = qobject_cast<UnicodeTextBox*>(c))
        return box->text();
    if (auto* combo = qobject_cast<QComboBox*>(c))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(c))
        return button->text();
    qFatal("%s shows no text", qPrintable(name));
}

void WindowTest::type(const QString& name, const QString& text) const
{
    QWidget* c = child(name);
    if (auto* field = qobject_cast<QLineEdit*>(c)) {
        field->selectAll();
        field->insert(text);
    } else if (auto* box = qobject_cast<UnicodeTextBox*>(c)) {
        box->setText(text);
    } else {
        qFatal("%s takes no text", qPrintable(name));
    }
}

void WindowTest::leave(const QString& how)
{
    if (how == u"close box")
        window->close();
    else if (how == u"Escape")
        QTest::keyClick(window, Qt::Key_Escape);
    else if (how == u"unload")
        registry.unload(window->objectName());
    else
        click(how);
}

QStringList WindowTest::heard()
{
    QStringList names;
    for (const QString& p : std::exchange(audio.played, {}))
        names << QFileInfo(p).completeBaseName();
    return names;
}

QString WindowTest::stored(const QString& key) const
{
    return ini::read(SettingsFile, QStringLiteral("Tavi"), key);
}

void WindowTest::screenshot(const QString& name) const
{
    QDir().mkpath(QStringLiteral(TAVI_SCREENSHOT_DIR));
    QVERIFY(window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/") + name + QStringLiteral(".png")));
}

void WindowTest::missing(const QString& name)
{
    qFatal("the window has no control named %s", qPrintable(name));
}

} // namespace tavi::test
