// clsFormResize on a small window of its own: which widgets it scales, the snapshot,
// minimising, and sizing to the screen. The arithmetic is tst_scale_arithmetic's.
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
    template <typename W>
    W* add(const char* name, QRect geometry, const char* tag = nullptr, QWidget* in = nullptr)
    {
        auto* w = new W(in ? in : this);
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

} // namespace

class TstClsFormResize : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void whichWidgetsAreScaled();
    void fromTheSnapshotOnly();
    void sizeFormToScreen();
};

// Named widgets at any depth, hidden ones too, by their tags; not Qt's own parts, nor
// what a layout places, nor the widgets of a separate window.
void TstClsFormResize::whichWidgetsAreScaled()
{
    Form form;
    const QRect at(100, 100, 50, 20);
    auto* named = form.add<QPushButton>("bt_named", at);
    auto* hidden = form.add<QPushButton>("bt_hidden", at);
    hidden->hide();
    auto* fixed = form.add<QLabel>("lbl_fixed", at, "@");
    auto* unnamed = form.add<QPushButton>("", at);
    auto* qtPart = form.add<QLabel>("qt_part", at);
    form.add<UnicodeTextBox>("txt_chin", at);
    form.add<QSpinBox>("txt_spin", at);
    auto* panel = form.add<QWidget>("panel", {0, 0, 300, 200});
    auto* inPanel = form.add<QLabel>("in_panel", at, nullptr, panel);
    auto* laidOut = form.add<QWidget>("laid_out", {});
    (new QVBoxLayout(laidOut))->addWidget(form.add<QLabel>("in_layout", {}, nullptr, laidOut));
    form.add<QLabel>("in_dialog", {}, nullptr, new QDialog(&form));
    auto* line = form.add<LineWidget>("Line1", {});
    line->setLine(20, 100, 380, 30);

    QStringList controls;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (isScaledControl(&form, w))
            controls << w->objectName();
    QCOMPARE(controls, (QStringList{"bt_named", "bt_hidden", "lbl_fixed", "txt_chin", "txt_spin", "panel",
                                    "in_panel", "laid_out", "Line1"}));

    form.show(); // the first resize event takes the snapshot and moves nothing
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(named->geometry(), at);
    form.resize(1200, 200);
    QTRY_COMPARE(form.size(), QSize(1200, 200));
    for (QWidget* w : std::initializer_list<QWidget*>{named, hidden, inPanel}) // inPanel: within the panel
        QCOMPARE(w->geometry(), QRect(200, 50, 100, 10));
    for (QWidget* w : std::initializer_list<QWidget*>{fixed, unnamed, qtPart})
        QCOMPARE(w->geometry(), at);
    QCOMPARE(QLine(line->x1(), line->y1(), line->x2(), line->y2()), QLine(40, 50, 760, 15)); // end points
}

// Always scaled from the snapshot, never from where code moved a control since, until
// ReInitialize takes a new one; a minimised window changes nothing.
void TstClsFormResize::fromTheSnapshotOnly()
{
    Form form;
    auto* field = form.add<QLineEdit>("txt_field", {60, 40, 120, 30});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    field->setGeometry(0, 0, 60, 20);
    form.resize(1200, 800);
    QTRY_COMPARE(form.size(), QSize(1200, 800));
    QCOMPARE(field->geometry(), QRect(120, 80, 240, 60));

    field->setGeometry(0, 0, 60, 20);
    form.resizer.ReInitialize();
    form.resize(600, 400);
    QTRY_COMPARE(form.size(), QSize(600, 400));
    QCOMPARE(field->geometry(), QRect(0, 0, 30, 10));

    form.setWindowState(Qt::WindowMinimized);
    form.resize(1, 1); // what a minimised window may report
    form.resizer.ScaleControls();
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
