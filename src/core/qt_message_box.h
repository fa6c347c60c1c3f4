// The real message boxes: QMessageBox with the icon and buttons of the classic codes.
#pragma once

#include "core/msgbox.h"
#include "core/services.h"

namespace tavi {

class QtMessageBox final : public MessageBoxService {
public:
    int show(const QString& text, int flags, const QString& title) override;
};

} // namespace tavi
