// The window is discarded whenever it closes, so every opening starts again from the
// sample text.
#include "sound/speak_pinyin_window.h"

#include "core/language.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "sound/speak_on_screen.h"
#include "ui/dialog_keys.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavi {

const QString SpeakPinyinWindow::SampleText = QStringLiteral("Ni3hao3 wo3 de0 ge1ge0");

SpeakPinyinWindow::SpeakPinyinWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_speakpinyin"));
    setWindowTitle(QStringLiteral("Speak Pinyin"));

    txt_pinyin = new QLineEdit(this);
    txt_pinyin->setObjectName(QStringLiteral("txt_pinyin"));
    txt_pinyin->setMinimumWidth(360);
    QFont f = txt_pinyin->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    txt_pinyin->setFont(f);
    txt_pinyin->setToolTip(QStringLiteral("Pinyin with tone digits 0 to 4, e.g. ni3hao3"));
    bt_speak = new QPushButton(QStringLiteral("Speak"), this);
    bt_speak->setObjectName(QStringLiteral("bt_speak"));
    bt_ok = new QPushButton(QStringLiteral("OK"), this);
    bt_ok->setObjectName(QStringLiteral("bt_ok"));
    for (QPushButton* b : {bt_speak, bt_ok})
        b->setMinimumSize(110, 32);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bt_speak);
    buttons->addStretch(1);
    buttons->addWidget(bt_ok);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 18, 20, 16);
    column->setSpacing(14);
    column->addWidget(txt_pinyin);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(bt_speak, &QPushButton::clicked, this, &SpeakPinyinWindow::bt_speak_Click);
    connect(txt_pinyin, &QLineEdit::returnPressed, this, &SpeakPinyinWindow::bt_speak_Click);
    connect(bt_ok, &QPushButton::clicked, this, [this] { windows().unload(objectName()); });
    // Enter in the text speaks it; Escape closes.
    DialogKeys::keepEnter(txt_pinyin);
    bt_speak->setDefault(true);
    DialogKeys::install(this, [this] { close(); });

    // Load.
    bt_speak->setText(LangText(QStringLiteral("speak_speak")));
    bt_ok->setText(LangText(QStringLiteral("bt_OK")));
    txt_pinyin->setText(SampleText);
}

void SpeakPinyinWindow::bt_speak_Click()
{
    CurrentCharacter = QStringLiteral("none");
    speakOnScreen(this, txt_pinyin->text());
}

void SpeakPinyinWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    windows().unload(objectName());
}

} // namespace tavi
