// QFileDialog with the first filter preselected.
#include "vocabulary/qt_open_file_dialog.h"

#include <QApplication>
#include <QFileDialog>

namespace tavi {

QString QtOpenFileDialog::getOpenFileName(const QString& title, const QString& initialFile,
                                          const QStringList& filters)
{
    QString selected = filters.value(0);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, initialFile, filters.join(u";;"),
                                        &selected);
}

QString QtOpenFileDialog::getSaveFileName(const QString& title, const QString& initialFile,
                                          const QStringList& filters)
{
    QString selected = filters.value(0);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, initialFile, filters.join(u";;"),
                                        &selected);
}

} // namespace tavi
