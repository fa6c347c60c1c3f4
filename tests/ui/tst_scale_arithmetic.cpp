// The scaling arithmetic: tag markers, scaled measures and the screen-relative size.
#include "ui/scale_arithmetic.h"

#include <QTest>

using namespace tavi;

Q_DECLARE_METATYPE(tavi::Measures)

namespace QTest {
template <> char* toString(const tavi::Measures& m)
{
    return qstrdup(
        QStringLiteral("%1,%2,%3,%4").arg(m.left).arg(m.top).arg(m.width).arg(m.height).toLatin1());
}
} // namespace QTest

class TstScaleArithmetic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void markers_data();
    void markers();
    void measures_data();
    void measures();
    void nothingToScaleFromZero();
    void screenPart_data();
    void screenPart();
};

void TstScaleArithmetic::markers_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("scaled"); // of Top, Height, Left, Width
    // clang-format off
    QTest::newRow("no tag: all four")                << ""          << "THLW";
    QTest::newRow("lower-case l and w")              << "@lw"       << "LW";
    QTest::newRow("at sign alone: none")             << "@"         << "";
    QTest::newRow("letters anywhere, any order")     << "@w,x;t"    << "TW";
    QTest::newRow("at sign later does not count")    << " @L"       << "THLW";
    // clang-format on
}

void TstScaleArithmetic::markers()
{
    QFETCH(QString, tag);
    QFETCH(QString, scaled);
    const auto on = [&scaled](char16_t letter) { return scaled.contains(QChar(letter)); };
    QVERIFY(scaleMarker(tag) == (ScaleMarker{on(u'T'), on(u'H'), on(u'L'), on(u'W')}));
}

void TstScaleArithmetic::measures_data()
{
    QTest::addColumn<QSize>("recordedSize");
    QTest::addColumn<QSize>("newSize");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<Measures>("recorded");
    QTest::addColumn<Measures>("current");
    QTest::addColumn<Measures>("expected");
    const Measures control{600, 400, 1200, 300};
    QTest::newRow("wider and lower") << QSize(6000, 4000) << QSize(9000, 2000) << "" << control << control
                                     << Measures{900, 200, 1800, 150};
    QTest::newRow("horizontal only keeps what code set vertically")
        << QSize(6000, 4000) << QSize(9000, 2000) << "@LW" << control << Measures{0, 17, 0, 23}
        << Measures{900, 17, 1800, 23};
    QTest::newRow("rounded to the nearest pixel")
        << QSize(300, 300) << QSize(200, 400) << "" << Measures{10, 10, 11, 11} << Measures{}
        << Measures{7, 13, 7, 15}; // 6.67, 13.33, 7.33, 14.67
    QTest::newRow("negative position") << QSize(100, 100) << QSize(150, 150) << "" << Measures{-10, -3, 5, 5}
                                       << Measures{} << Measures{-15, -5, 8, 8}; // -4.5 rounds away from 0
}

void TstScaleArithmetic::measures()
{
    QFETCH(QSize, recordedSize);
    QFETCH(QSize, newSize);
    QFETCH(QString, tag);
    QFETCH(Measures, recorded);
    QFETCH(Measures, current);
    QFETCH(Measures, expected);
    const auto ratios = scaleRatios(recordedSize, newSize);
    QVERIFY(ratios);
    QCOMPARE(scaledMeasures(recorded, current, scaleMarker(tag), *ratios), expected);
}

void TstScaleArithmetic::nothingToScaleFromZero()
{
    QVERIFY(!scaleRatios(QSize(0, 400), QSize(800, 600)));
    QVERIFY(!scaleRatios(QSize(600, 0), QSize(800, 600)));
}

void TstScaleArithmetic::screenPart_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("rounded down") << 33 << QSize(1366, 768) << QSize(450, 253);
    QTest::newRow("exact where floating point is not") << 29 << QSize(100, 200) << QSize(29, 58);
    QTest::newRow("largest percentage") << 32767 << QSize(3840, 2160) << QSize(1258252, 707767);
    QTest::newRow("zero is refused") << 0 << QSize(1280, 960) << QSize();
}

void TstScaleArithmetic::screenPart()
{
    QFETCH(int, percent);
    QFETCH(QSize, screen);
    QFETCH(QSize, expected);
    QCOMPARE(formSizeForScreen(percent, screen), expected);
}

QTEST_APPLESS_MAIN(TstScaleArithmetic)
#include "tst_scale_arithmetic.moc"
