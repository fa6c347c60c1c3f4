// The log settings are the shared LogEnabled and LogFilePath themselves: the check box
// takes effect at once, while only OK stores them.
#include "sound/tools_window.h"

#include "core/language.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "ui/dialog_keys.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavi {

ToolsWindow::ToolsWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_tools"));
    setWindowTitle(QStringLiteral("Tavi Tools"));

    chk_do_log = new QCheckBox(QStringLiteral("Log all words without sound"), this);
    chk_do_log->setObjectName(QStringLiteral("chk_do_log"));
    txt_logfile = new QLineEdit(this);
    txt_logfile->setObjectName(QStringLiteral("txt_logfile"));
    txt_logfile->setMinimumWidth(380);
    txt_logfile->setToolTip(
        QStringLiteral("The CSV file that receives the words and syllables without sound"));
    bt_ok = new QPushButton(QStringLiteral("OK"), this);
    bt_ok->setObjectName(QStringLiteral("bt_ok"));
    bt_ok->setMinimumSize(110, 32);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bt_ok);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 18, 20, 16);
    column->setSpacing(10);
    column->addWidget(chk_do_log);
    column->addWidget(txt_logfile);
    column->addSpacing(6);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    // Load.
    chk_do_log->setText(LangText(QStringLiteral("tools_do_log")));
    do_settings(QStringLiteral("R"));
    txt_logfile->setText(LogFilePath);
    txt_logfile->setEnabled(LogEnabled);
    chk_do_log->setChecked(LogEnabled);

    connect(chk_do_log, &QCheckBox::toggled, this, &ToolsWindow::chk_do_log_Click);
    connect(bt_ok, &QPushButton::clicked, this, &ToolsWindow::bt_ok_Click);
    bt_ok->setDefault(true);
    DialogKeys::install(this, [this] { close(); });
}

void ToolsWindow::chk_do_log_Click(bool checked)
{
    LogEnabled = checked;
    txt_logfile->setEnabled(checked);
}

void ToolsWindow::bt_ok_Click()
{
    // An emptied field would leave the log nowhere to go; it reads back as the default.
    const QString path = txt_logfile->text().trimmed();
    LogFilePath = path.isEmpty() ? defaultLogFilePath() : txt_logfile->text();
    do_settings(QStringLiteral("W"));
    windows().unload(objectName());
}

void ToolsWindow::closeEvent(QCloseEvent* event)
{
    // Closed without OK: the check box stays in force, the path typed is dropped.
    event->accept();
    windows().unload(objectName());
}

} // namespace tavi
