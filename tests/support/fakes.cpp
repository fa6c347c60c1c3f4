// Recording fakes of the message box, the desktop opener, the sound output and the
// window system.
#include "support/fakes.h"

#include <QFileInfo>

namespace tavi::test {

FakeMessageBox::FakeMessageBox() : m_scope({.boxes = this}) {}

int FakeMessageBox::show(const QString& text, int flags, const QString& title)
{
    calls.append({text, flags, title});
    if (onShow)
        onShow(calls.last());
    if (!answers.isEmpty())
        return answers.takeFirst();
    return (flags & 7) == vbYesNo ? vbYes : vbOK;
}

QStringList FakeMessageBox::shown() const
{
    QStringList boxes;
    for (const BoxCall& c : calls)
        boxes << c.text + u'|' + QString::number(c.flags) + u'|' + c.title;
    return boxes;
}

FakeOpener::FakeOpener() : m_scope({.opener = this}) {}

void FakeOpener::open(const QString& target, const QString& directory, std::function<void(int)> done)
{
    calls.append({target, directory});
    if (deferred)
        m_pending.append(std::move(done));
    else
        done(immediateCode);
}

void FakeOpener::reply(int code)
{
    const auto pending = std::exchange(m_pending, {});
    for (const auto& done : pending)
        done(code);
}

FakeOpenFileDialog::FakeOpenFileDialog() : m_scope({.fileDialog = this}) {}

QString FakeOpenFileDialog::getOpenFileName(const QString& title, const QString& initialFile,
                                            const QStringList& filters)
{
    calls.append({title, initialFile, filters});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString FakeOpenFileDialog::getSaveFileName(const QString& title, const QString& initialFile,
                                            const QStringList& filters)
{
    calls.append({title, initialFile, filters, true});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

FakeAudioOutput::FakeAudioOutput() : m_scope({.audio = this}) {}

bool FakeAudioOutput::play(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (failing.contains(name)) {
        refused.append(name);
        return false;
    }
    played.append(name);
    if (onPlay)
        onPlay(name);
    return true;
}

FakeWindowSystem::FakeWindowSystem() : m_scope({.windowSystem = this}) {}

WindowSystem::GrabResult FakeWindowSystem::grabHotkey(Modifier modifier, QChar key)
{
    static const char* const names[] = {"Alt", "Ctrl", "Shift", "Win"};
    grabs << QLatin1String(names[int(modifier)]) + u'+' + key;
    grabbed = answer == GrabResult::Grabbed;
    return answer;
}

void FakeWindowSystem::ungrabHotkey()
{
    grabs << QStringLiteral("-");
    grabbed = false;
}

bool FakeWindowSystem::press()
{
    if (!grabbed || !onHotkey)
        return false;
    onHotkey();
    return true;
}

bool FakeDesktopShortcut::answer(const Answer& answer)
{
    auto done = std::exchange(m_pending, {});
    if (done)
        done(answer);
    return bool(done);
}

bool FakeDesktopShortcut::press()
{
    if (!onActivated)
        return false;
    onActivated();
    return true;
}

} // namespace tavi::test
