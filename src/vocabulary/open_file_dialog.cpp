// The installed open-file dialog.
#include "vocabulary/open_file_dialog.h"

namespace tavi {

namespace {
OpenFileDialogService* g_service = nullptr;
}

void setOpenFileDialogService(OpenFileDialogService* service)
{
    g_service = service;
}

OpenFileDialogService* openFileDialogService()
{
    return g_service;
}

} // namespace tavi
