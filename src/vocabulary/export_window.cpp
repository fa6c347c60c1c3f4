#include "vocabulary/export_window.h"

namespace tavi {

ExportWindow::ExportWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_export"));
}

} // namespace tavi
