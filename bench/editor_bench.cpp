// The vocabulary editor with 10,000 and 100,000 words: opening it (the canonical text
// built and shown), Refresh (parsed, rebuilt and shown again), and one keystroke in the
// text up to its repaint.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

struct Words {
    QTemporaryDir dir;
    WindowRegistry registry;

    explicit Words(int count)
    {
        bench::prepareWords(dir, count);
        VocFilePath = dir.filePath(QStringLiteral("words.txt"));
        VocTableSource = VocFilePath; // read from it, as after the selection window
        registerAllWindows(registry);
    }
    QWidget* open()
    {
        registry.open(QStringLiteral("frm_editvoc"));
        QApplication::processEvents(); // shown and painted
        return registry.find(QStringLiteral("frm_editvoc"));
    }
};

void BM_OpenEditor(benchmark::State& state)
{
    Words w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.open());
        state.PauseTiming();
        w.registry.unload(QStringLiteral("frm_editvoc"));
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_Refresh(benchmark::State& state)
{
    Words w(static_cast<int>(state.range(0)));
    auto* refresh = w.open()->findChild<QPushButton*>(QStringLiteral("bt_syntax"));
    for (auto _ : state) {
        refresh->click();
        QApplication::processEvents();
    }
}

void BM_KeystrokeToRepaint(benchmark::State& state)
{
    Words w(static_cast<int>(state.range(0)));
    auto* edit =
        w.open()->findChild<UnicodeTextBox*>(QStringLiteral("TextBox1"))->findChild<QPlainTextEdit*>();
    QTextCursor middle(edit->document()->findBlockByNumber(edit->blockCount() / 2));
    edit->setTextCursor(middle);
    edit->centerCursor();
    edit->setFocus();
    QApplication::processEvents();
    bool type = true;
    for (auto _ : state) {
        // An "x" typed, then taken back with Backspace: the text keeps its size.
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("x") : QString());
        QApplication::sendEvent(edit, &press);
        edit->viewport()->repaint();
        type = !type;
    }
}

} // namespace

BENCHMARK(BM_OpenEditor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeToRepaint)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
