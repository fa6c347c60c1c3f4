// QFileDialog with the first filter preselected. Where the desktop offers no dialog of
// its own, Qt's dialog opens wide enough to show every file's size and type in full:
// at its own first size and column widths both were cut short.
#include "vocabulary/qt_open_file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace tavi {

namespace {

class FileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void showEvent(QShowEvent* event) override
    {
        // Qt's own dialog names its detail view so; a dialog of the desktop has none.
        if (auto* view = findChild<QTreeView*>(QStringLiteral("treeView"))) {
            QHeaderView* header = view->header();
            header->setStretchLastSection(false);
            header->setSectionResizeMode(0, QHeaderView::Stretch);
            for (int column = 1; column < header->count(); ++column)
                header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
        QFileDialog::showEvent(event);
    }
};

QString ask(QFileDialog::AcceptMode mode, const QString& title, const QString& initialFile,
            const QStringList& filters)
{
    FileDialog dialog(QApplication::activeWindow(), title, initialFile, filters.join(u";;"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    QSize size = dialog.size().expandedTo({860, 520}); // a dialog of the desktop sizes itself
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    dialog.resize(size);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtOpenFileDialog::getOpenFileName(const QString& title, const QString& initialFile,
                                          const QStringList& filters)
{
    return ask(QFileDialog::AcceptOpen, title, initialFile, filters);
}

QString QtOpenFileDialog::getSaveFileName(const QString& title, const QString& initialFile,
                                          const QStringList& filters)
{
    return ask(QFileDialog::AcceptSave, title, initialFile, filters);
}

} // namespace tavi
