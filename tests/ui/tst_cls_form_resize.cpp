// clsFormResize on a small window of its own: which widgets it records, scaling from the
// snapshot, minimising, and sizing to the screen.
#include "ui/cls_form_resize.h"
#include "ui/line_widget.h"
#include "ui/unicode_text_box.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

using namespace tavi;

namespace {

// A window laid out by position and size that scales itself in its resize event, the
// way the program's windows use the scaler.
class Form : public QWidget {
public:
    Form()
    {
        resize(600, 400);
        resizer.SourceForm(this);
    }
    template <typename W> W* add(const char* name, QRect geometry, const char* tag = nullptr)
    {
        auto* w = new W(this);
        w->setObjectName(QLatin1String(name));
        w->setGeometry(geometry);
        if (tag)
            w->setProperty("tag", QString::fromLatin1(tag));
        return w;
    }
    clsFormResize resizer;

protected:
    void resizeEvent(QResizeEvent*) override { resizer.ScaleControls(); }
};

QString lineText(const LineWidget* l)
{
    return QStringLiteral("%1,%2 %3,%4").arg(l->x1()).arg(l->y1()).arg(l->x2()).arg(l->y2());
}

} // namespace

class TstClsFormResize : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstCallRecordsAndLaterCallsScale();
    void whichWidgetsAreControls();
    void minimisedChangesNothingAndRestoringDoesNotDrift();
    void reInitializeRecordsWhereCodeMovedAControl();
    void sizeFormToScreen();
};

void TstClsFormResize::firstCallRecordsAndLaterCallsScale()
{
    Form form;
    auto* field = form.add<QLineEdit>("txt_field", {60, 40, 120, 30});
    auto* fixed = form.add<QLabel>("Label1", {60, 40, 120, 30}, "@");
    auto* line = form.add<LineWidget>("Line1", {});
    line->setLine(20, 100, 380, 30);
    form.show(); // the first resize event takes the snapshot and moves nothing
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(field->geometry(), QRect(60, 40, 120, 30));
    QCOMPARE(lineText(line), QString("20,100 380,30"));

    form.resize(900, 200);
    QTRY_COMPARE(form.size(), QSize(900, 200));
    QCOMPARE(field->geometry(), QRect(90, 20, 180, 15));
    QCOMPARE(fixed->geometry(), QRect(60, 40, 120, 30));
    QCOMPARE(lineText(line), QString("30,50 570,15"));
    QCOMPARE(line->geometry(), QRect(30, 15, 541, 36));
}

void TstClsFormResize::whichWidgetsAreControls()
{
    Form form;
    const QRect at(100, 100, 50, 20);
    auto* named = form.add<QPushButton>("bt_named", at);
    auto* hidden = form.add<QPushButton>("bt_hidden", at);
    hidden->hide();
    auto* unnamed = form.add<QPushButton>("", at);
    auto* qtPart = form.add<QLabel>("qt_part", at);
    auto* box = form.add<UnicodeTextBox>("txt_chin", at);
    auto* spin = form.add<QSpinBox>("txt_spin", at);
    auto* panel = form.add<QWidget>("panel", {0, 0, 300, 200});
    auto* inPanel = new QLabel(panel);
    inPanel->setObjectName("in_panel");
    inPanel->setGeometry(at);
    auto* laidOut = new QWidget(&form);
    laidOut->setObjectName("laid_out");
    auto* inLayout = new QLabel(laidOut);
    inLayout->setObjectName("in_layout");
    (new QVBoxLayout(laidOut))->addWidget(inLayout);
    auto* dialog = new QDialog(&form);
    auto* inDialog = new QLabel(dialog);
    inDialog->setObjectName("in_dialog");

    QStringList controls;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (isScaledControl(&form, w))
            controls << w->objectName();
    QCOMPARE(controls,
             (QStringList{"bt_named", "bt_hidden", "txt_chin", "txt_spin", "panel", "in_panel", "laid_out"}));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(1200, 800);
    QTRY_COMPARE(form.size(), QSize(1200, 800));
    const QRect doubled(200, 200, 100, 40);
    for (QWidget* w : std::initializer_list<QWidget*>{named, hidden, box, spin,
                                                      inPanel}) // inPanel: within the panel, itself doubled
        QCOMPARE(w->geometry(), doubled);
    QCOMPARE(unnamed->geometry(), at);
    QCOMPARE(qtPart->geometry(), at);
}

void TstClsFormResize::minimisedChangesNothingAndRestoringDoesNotDrift()
{
    Form form;
    auto* field = form.add<QLineEdit>("txt_field", {61, 37, 119, 29});
    auto* line = form.add<LineWidget>("Line1", {});
    line->setLine(13, 7, 587, 391);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect design = field->geometry();

    form.resize(700, 300);
    QTRY_COMPARE(form.size(), QSize(700, 300));
    const QRect scaled = field->geometry();
    form.setWindowState(Qt::WindowMinimized);
    form.resize(1, 1); // what a minimised window may report
    form.resizer.ScaleControls();
    QCOMPARE(field->geometry(), scaled);

    form.setWindowState(Qt::WindowNoState);
    for (const QSize s : {QSize(613, 397), QSize(977, 211), QSize(333, 555), QSize(601, 399)}) {
        form.resize(s);
        QTRY_COMPARE(form.size(), s);
    }
    form.resize(600, 400);
    QTRY_COMPARE(form.size(), QSize(600, 400));
    QCOMPARE(field->geometry(), design);
    QCOMPARE(lineText(line), QString("13,7 587,391"));
}

void TstClsFormResize::reInitializeRecordsWhereCodeMovedAControl()
{
    Form form;
    auto* field = form.add<QLineEdit>("txt_field", {60, 40, 120, 30});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    field->setGeometry(0, 0, 60, 20);
    form.resize(1200, 800);
    QTRY_COMPARE(form.size(), QSize(1200, 800));
    QCOMPARE(field->geometry(), QRect(120, 80, 240, 60)); // from the first snapshot

    field->setGeometry(0, 0, 60, 20);
    form.resizer.ReInitialize();
    form.resize(600, 400);
    QTRY_COMPARE(form.size(), QSize(600, 400));
    QCOMPARE(field->geometry(), QRect(0, 0, 30, 10));
}

void TstClsFormResize::sizeFormToScreen()
{
    Form form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize screen = form.screen()->geometry().size();
    form.resizer.SizeFormToScreen(50);
    QTRY_COMPARE(form.frameGeometry().size(), QSize(screen.width() / 2, screen.height() / 2));
    form.resizer.SizeFormToScreen(0); // refused: the window keeps its size
    QCOMPARE(form.frameGeometry().size(), QSize(screen.width() / 2, screen.height() / 2));
}

QTEST_MAIN(TstClsFormResize)
#include "tst_cls_form_resize.moc"
