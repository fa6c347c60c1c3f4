// One window under test: a private program folder, every fake service, a main window
// that is only a recording stand-in, and a registry of every window; the window's
// controls are reached by their names.
#pragma once

#include "core/main_hub.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QWidget>

namespace tavi::test {

// What the other windows told the main window, kept for the test to read.
class FakeMainHub final : public MainHub {
public:
    FakeMainHub() : m_previous(setMainHub(this)) {}
    ~FakeMainHub() override { setMainHub(m_previous); }
    FakeMainHub(const FakeMainHub&) = delete;
    FakeMainHub& operator=(const FakeMainHub&) = delete;

    void set_vocbuttons(bool enabled) override { training = enabled; }
    void setEditEnabled(bool enabled) override { editing = enabled; }
    void setStatus(const QString& text) override { status = text; }
    void showMain() override { ++shown; }
    void minimiseMain() override { ++minimised; }
    QRect mainFrame() const override { return frame; }
    int frameWidth() const override { return border; }

    bool training = false;
    bool editing = false;
    QString status;
    int shown = 0;
    int minimised = 0;
    QRect frame{100, 100, 620, 440};
    int border = 8;

private:
    MainHub* m_previous;
};

class WindowTest {
public:
    explicit WindowTest(TestProgramFolder::Contents contents = TestProgramFolder::Contents::ShippedData);
    ~WindowTest();
    WindowTest(const WindowTest&) = delete;
    WindowTest& operator=(const WindowTest&) = delete;

    // Opens the registered window of that name, which becomes window; nullptr when it
    // did not open.
    QWidget* open(const QString& name);
    // The words ready for a trainer (TestProgramFolder::prepareTraining), then the
    // window opened.
    QWidget* train(const QString& name, const QList<VocRow>& words, const QByteArray& settings = {});

    // A control of window by its name; the test fails with the name when there is none.
    template <typename T = QWidget> T* child(const QString& name) const
    {
        T* c = window ? window->findChild<T*>(name) : nullptr;
        if (!c)
            missing(name);
        return c;
    }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name); }
    QCheckBox* box(const QString& name) const { return child<QCheckBox>(name); }
    void click(const QString& name) const { button(name)->click(); }
    // What a field, label, Unicode box, combo box or button of window shows.
    QString text(const QString& name) const;
    // Leaves window as a user does: "close box", "Escape", "unload" (what a language
    // switch or the program's end does), or else a click on the button of that name.
    void leave(const QString& how);
    // Puts text into a field or Unicode box as typing would leave it.
    void type(const QString& name, const QString& text) const;
    // The base names of the sounds played since the last call.
    QStringList heard();
    // A value of the program's settings file.
    QString stored(const QString& key) const;
    // Saves what window shows as NAME.png among the screenshots.
    void screenshot(const QString& name) const;

    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeOpener opener;
    FakeOpenFileDialog dialogs;
    FakeAudioOutput audio;
    FakeWindowSystem windowSystem;
    FakeInstallProbe probe;
    FakeMainHub hub;
    WindowRegistry registry;
    QWidget* window = nullptr;

private:
    [[noreturn]] static void missing(const QString& name);
};

} // namespace tavi::test
