#include "vocabulary/import_window.h"

namespace tavi {

ImportWindow::ImportWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_import"));
}

bool ImportWindow::chooseFile()
{
    return false;
}

bool ImportWindow::openFile(const QString&)
{
    return false;
}

} // namespace tavi
