#include "vocabulary/export_window.h"

#include <QTest>

class TstExportWindow : public QObject {
    Q_OBJECT
private slots:
    void named() { QCOMPARE(tavi::ExportWindow().objectName(), QStringLiteral("frm_export")); }
};

QTEST_MAIN(TstExportWindow)
#include "tst_export_window.moc"
