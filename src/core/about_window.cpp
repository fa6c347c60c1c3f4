// The links turn red while the pointer moves over them and blue again only when it
// crosses the window's own background: there is deliberately no leave handling.
#include "core/about_window.h"

#include "core/artwork.h"
#include "core/language.h"
#include "core/links.h"
#include "core/run_file.h"
#include "core/window_registry.h"
#include "ui/dialog_keys.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tavi {

const QColor AboutWindow::LinkColor(0, 0, 255);
const QColor AboutWindow::HoverColor(255, 0, 0);
const QString AboutWindow::DictionaryPage = QStringLiteral("https://cc-cedict.org/wiki/");

namespace {

QLabel* makeLink(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(true);
    f.setUnderline(true);
    l->setFont(f);
    l->setToolTip(tip);
    l->setCursor(Qt::PointingHandCursor);
    l->setMouseTracking(true);
    return l;
}

QLabel* makePicture(QWidget* parent, const char* name, const QString& picture)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setPixmap(seal(picture));
    l->setFixedSize(l->pixmap().size());
    return l;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_about"));
    setWindowTitle(QStringLiteral("About Tavi..."));
    setMouseTracking(true);

    txt_tavi = new QLabel(this);
    txt_tavi->setObjectName(QStringLiteral("txt_tavi"));
    QFont titleFont = txt_tavi->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    titleFont.setBold(true);
    txt_tavi->setFont(titleFont);
    txt_tavi->setAlignment(Qt::AlignCenter);

    Label4 = makeLink(this, "Label4", links::SupportMail,
                      QStringLiteral("Click here to send an email to ") + links::SupportMail);
    txt_www =
        makeLink(this, "txt_www", links::HomePage, QStringLiteral("Click here to surf to our homepage !"));
    // The dictionary's licence, CC BY-SA, asks for credit to its makers: a line beneath
    // the program's own links, a link like them but in the body's weight.
    txt_cedict = makeLink(this, "txt_cedict", QString(), QString());
    QFont creditFont = txt_cedict->font();
    creditFont.setBold(false);
    txt_cedict->setFont(creditFont);
    for (QLabel* link : {Label4, txt_www, txt_cedict}) {
        link->installEventFilter(this);
        setLinkColor(link, LinkColor);
    }

    bt_install = new QPushButton(this);
    bt_install->setObjectName(QStringLiteral("bt_install"));
    bt_ok = new QPushButton(this);
    bt_ok->setObjectName(QStringLiteral("bt_ok"));
    bt_ok->setDefault(true);
    for (QPushButton* b : {bt_install, bt_ok})
        b->setMinimumSize(130, 34);

    Picture1 = makePicture(this, "Picture1", QStringLiteral("seal_nihao"));
    Picture2 = makePicture(this, "Picture2", QStringLiteral("seal_xuexi"));

    // Layouts only, no container widgets: a pointer over any gap is over the window
    // itself, which is where the links turn blue again.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(12);
    grid->addWidget(Picture1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(txt_tavi, 0, 1);
    grid->addWidget(Label4, 1, 1, Qt::AlignHCenter);
    grid->addWidget(txt_www, 2, 1, Qt::AlignHCenter);
    grid->addWidget(Picture2, 0, 2, 3, 1, Qt::AlignTop);
    grid->addWidget(txt_cedict, 3, 0, 1, 3, Qt::AlignHCenter);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bt_install);
    buttons->addStretch(1);
    buttons->addWidget(bt_ok);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setRowMinimumHeight(4, 48);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(520);

    connect(bt_ok, &QPushButton::clicked, this, &QWidget::hide);
    // OK is what Enter and Escape do, from the moment the window opens.
    DialogKeys::install(this, [this] { hide(); });
    connect(bt_install, &QPushButton::clicked, this, [] { windows().open(QStringLiteral("frm_install")); });

    // Load: captions in this order.
    bt_ok->setText(LangText(QStringLiteral("about_bt_ok")));
    bt_install->setText(LangText(QStringLiteral("about_bt_install")));
    txt_tavi->setText(LangText(QStringLiteral("about_tavititle")));
    txt_cedict->setText(LangText(QStringLiteral("about_dictionary")));
    txt_cedict->setToolTip(LangText(QStringLiteral("about_dictionary_tip")));
}

void AboutWindow::setLinkColor(QLabel* label, const QColor& color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    bt_ok->setFocus(); // each time it opens, so that Enter means OK
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event)
{
    for (QLabel* link : {Label4, txt_www, txt_cedict})
        setLinkColor(link, LinkColor);
    QWidget::mouseMoveEvent(event);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* link = qobject_cast<QLabel*>(watched);
    if (link && (link == Label4 || link == txt_www || link == txt_cedict)) {
        if (event->type() == QEvent::MouseMove) {
            // Handled here: passed on, it would reach the window's background handler.
            setLinkColor(link, HoverColor);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            link->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            QString target = DictionaryPage;
            if (link == Label4)
                target = QStringLiteral("mailto: ") + links::SupportMail;
            else if (link == txt_www)
                target = links::HomePage;
            RunFile(target, QString(), 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavi
