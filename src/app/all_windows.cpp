// The composition root of the windows: every window this version can open, by name.
#include "app/all_windows.h"

#include "brainwash/brain_window.h"
#include "core/about_window.h"
#include "game/memory_window.h"
#include "install/install_window.h"
#include "sound/pinyin_display_window.h"
#include "sound/speak_pinyin_window.h"
#include "sound/tools_window.h"
#include "training/auto_flash_window.h"
#include "training/flashcard_window.h"
#include "vocabulary/edit_voc_window.h"
#include "vocabulary/export_window.h"
#include "vocabulary/import_window.h"
#include "vocabulary/load_voc_window.h"
#include "vocabulary/progress_window.h"

namespace tavi {

void registerAllWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("frm_about"), [] { return new AboutWindow; });
    registry.add(QStringLiteral("loadvoc"), [] { return new LoadVocWindow; });
    registry.add(QStringLiteral("frm_editvoc"), [] { return new EditVocWindow; });
    registry.add(QStringLiteral("frm_import"), [] { return new ImportWindow; });
    registry.add(QStringLiteral("frm_export"), [] { return new ExportWindow; });
    registry.add(QStringLiteral("frm_progress"), [] { return new ProgressWindow; });
    registry.add(QStringLiteral("flashcard"), [] { return new FlashcardWindow; });
    registry.add(QStringLiteral("autoflash"), [] { return new AutoFlashWindow; });
    registry.add(QStringLiteral("frm_tools"), [] { return new ToolsWindow; });
    registry.add(QStringLiteral("frm_speakpinyin"), [] { return new SpeakPinyinWindow; });
    registry.add(QStringLiteral("frm_pinyindisplay"), [] { return new PinyinDisplayWindow; });
    registry.add(QStringLiteral("frm_game1"), [] { return new MemoryWindow; });
    registry.add(QStringLiteral("frm_install"), [] { return new InstallWindow; });
    registry.add(QStringLiteral("frm_brain"), [] { return new BrainWindow; });
}

} // namespace tavi
