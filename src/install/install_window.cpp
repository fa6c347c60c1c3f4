// The installation check window. The checks are InstallProbe's and the sound folder's;
// this window paints one status per part and opens the help page at the section that
// says which packages to install.
#include "install/install_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/run_file.h"
#include "core/window_registry.h"
#include "install/install_probe.h"
#include "sound/sound_index.h"
#include "sound/speech.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace tavi {

namespace {

const QColor kInstalled(0, 255, 0);
const QColor kMissing(255, 255, 255);
const QColor kLinkAtRest(0, 0, 255);
const QColor kLinkUnderMouse(255, 0, 0);

constexpr int kRowTop = 40;
constexpr int kRowStep = 30;

QRect row(int column, int r, int rows = 1)
{
    static constexpr int left[] = {12, 142, 502};
    static constexpr int width[] = {120, 350, 126};
    return {left[column], kRowTop + r * kRowStep, width[column], rows * kRowStep - 6};
}

bool soundSample(const QString& name)
{
    const QString path = findSound(name);
    return !path.isEmpty() && FileExists(path);
}

} // namespace

InstallWindow::InstallWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_install"));
    buildControls();

    // Load
    lbl_snd->setText(LangText(QStringLiteral("install_snd")));
    lbl_ie->setText(LangText(QStringLiteral("install_ie")));
    lbl_ime->setText(LangText(QStringLiteral("install_ime")));
    lbl_core->setText(LangText(QStringLiteral("install_core")));
    lbl_optional->setText(LangText(QStringLiteral("install_optional")));
    lbl_connected->setText(LangText(QStringLiteral("install_connected")));
    const QString link = LangText(QStringLiteral("install_link"));
    for (QLabel* l : {lbl_link_ie5, lbl_link_ime, lbl_link_snd1, lbl_link_snd2, lbl_link_snd3})
        l->setText(link);
    m_installed = LangText(QStringLiteral("install_installed"));
    m_notInstalled = LangText(QStringLiteral("install_not_installed"));

    const InstallProbe* probe = services().installProbe;
    paint_status(lbl_inst_standard, true);
    paint_status(lbl_inst_shell, probe && probe->inputConnection());
    paint_status(lbl_inst_ime, probe && probe->chineseInputMethod());
    paint_status(lbl_inst_snd1, soundSample(QStringLiteral("a1.wav")));
    paint_status(lbl_inst_snd2, soundSample(QStringLiteral("jie1.wav")));
    paint_status(lbl_inst_snd3, soundSample(QStringLiteral("shen1.wav")));
}

void InstallWindow::buildControls()
{
    setWindowTitle(QStringLiteral("Check Installation"));
    setMouseTracking(true);
    ldl_header = placedControl<QLabel>(this, "ldl_header", {12, 12, 616, 22});
    ldl_header->setText(QStringLiteral("   Status               Tavi Add-On Modules"));
    QFont bold = ldl_header->font();
    bold.setBold(true);
    ldl_header->setFont(bold);

    auto status = [this](const char* name, int r) {
        auto* l = placedControl<QLabel>(this, name, row(0, r));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        return l;
    };
    auto caption = [this](const char* name, int r, int rows = 1) {
        auto* l = placedControl<QLabel>(this, name, row(1, r, rows));
        l->setWordWrap(true);
        return l;
    };
    auto link = [this](const char* name, int r, const QString& anchor) {
        auto* l = placedControl<QLabel>(this, name, row(2, r));
        l->setCursor(Qt::PointingHandCursor);
        l->setMouseTracking(true);
        QFont f = l->font();
        f.setUnderline(true);
        l->setFont(f);
        l->setProperty("anchor", anchor);
        l->installEventFilter(this);
        paint_link(l, kLinkAtRest);
        return l;
    };
    lbl_inst_standard = status("lbl_inst_standard", 0);
    lbl_inst_shell = status("lbl_inst_shell", 1);
    lbl_inst_ime = status("lbl_inst_ime", 2);
    lbl_inst_snd1 = status("lbl_inst_snd1", 3);
    lbl_inst_snd2 = status("lbl_inst_snd2", 4);
    lbl_inst_snd3 = status("lbl_inst_snd3", 5);
    lbl_standard = caption("lbl_standard", 0);
    lbl_standard->setText(QStringLiteral("1. Tavi Chinese Trainer Standard "));
    lbl_ie = caption("lbl_ie", 1);
    lbl_ime = caption("lbl_ime", 2);
    lbl_snd = caption("lbl_snd", 3, 3);
    lbl_snd->setGeometry(lbl_snd->geometry().adjusted(0, 3, -100, 0));
    lbl_snd->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Which sample file each sound row stands for.
    const char* const samples[] = {"a1.wav", "jie1.wav", "shen1.wav"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "lbl_snd_file" + QByteArray::number(i + 1);
        auto* l = placedControl<QLabel>(this, name.constData(), row(1, 3 + i).adjusted(262, 0, 0, 0));
        l->setText(QLatin1String(samples[i]));
        l->setStyleSheet(QStringLiteral("color: rgb(90, 90, 90);"));
    }
    lbl_link_ie5 = link("lbl_link_ie5", 1, QStringLiteral("install_input"));
    lbl_link_ime = link("lbl_link_ime", 2, QStringLiteral("install_ime"));
    lbl_link_snd1 = link("lbl_link_snd1", 3, QStringLiteral("install_sound"));
    lbl_link_snd2 = link("lbl_link_snd2", 4, QStringLiteral("install_sound"));
    lbl_link_snd3 = link("lbl_link_snd3", 5, QStringLiteral("install_sound"));

    const int below = kRowTop + 6 * kRowStep + 8;
    lbl_core = placedControl<QLabel>(this, "lbl_core", {12, below, 616, 40});
    lbl_optional = placedControl<QLabel>(this, "lbl_optional", {12, below + 46, 616, 58});
    lbl_connected = placedControl<QLabel>(this, "lbl_connected", {12, below + 110, 616, 40});
    for (QLabel* l : {lbl_core, lbl_optional, lbl_connected}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    bt_ok = placedControl<QPushButton>(this, "bt_ok", {508, below + 160, 120, 34});
    bt_ok->setText(QStringLiteral("OK"));
    bt_ok->setDefault(true);
    setFixedSize(640, below + 206);

    connect(bt_ok, &QPushButton::clicked, this, [this] {
        hide();
        windows().unload(objectName());
    });
    DialogKeys::install(this, [this] { bt_ok->click(); });
}

bool InstallWindow::test_auf_shdocvw()
{
    const InstallProbe* probe = services().installProbe;
    return probe && probe->inputConnection();
}

void InstallWindow::paint_status(QLabel* status, bool installed)
{
    status->setText(installed ? m_installed : m_notInstalled);
    QPalette p = status->palette();
    p.setColor(QPalette::Window, installed ? kInstalled : kMissing);
    p.setColor(QPalette::WindowText, Qt::black);
    status->setPalette(p);
}

void InstallWindow::paint_link(QLabel* link, const QColor& colour)
{
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, colour);
    link->setPalette(p);
}

void InstallWindow::open_section(const QString& anchor)
{
    // The help page at its section; a missing page is reported by RunFile by its name.
    QString target = HelpFile;
    if (QFileInfo::exists(HelpFile)) {
        QUrl url = QUrl::fromLocalFile(QFileInfo(HelpFile).absoluteFilePath());
        url.setFragment(anchor);
        target = url.toString();
    }
    RunFile(target, QString(), 1);
}

bool InstallWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* link = qobject_cast<QLabel*>(watched);
    if (link && event->type() == QEvent::MouseMove) {
        paint_link(link, kLinkUnderMouse);
        return true; // not on to the window, whose background paints the links blue
    }
    if (link && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        open_section(link->property("anchor").toString());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void InstallWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Over the background every link is at rest again; leaving a link for another
    // control changes nothing.
    for (QLabel* l : {lbl_link_ie5, lbl_link_ime, lbl_link_snd1, lbl_link_snd2, lbl_link_snd3})
        paint_link(l, kLinkAtRest);
    QWidget::mouseMoveEvent(event);
}

} // namespace tavi
