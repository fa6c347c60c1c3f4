// libFuzzer entry for the editor's text: any bytes as the UTF-16 text of its box (lone
// surrogates and all). Refresh puts a header back where it was deleted, parses and
// builds the table's text; a second Refresh over that text must change nothing. The
// check runs over the box's text, with every recording there, and names only lines of
// that text.
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace tavi;

namespace {

// Lines as the editor shows them: CR, LF and CR LF each end one.
int lineCount(const QString& text)
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++lines;
    }
    return lines;
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);

    ParseVocText(withHeader(text));
    const QString built = BuildVocText();
    ParseVocText(withHeader(built));
    if (BuildVocText() != built)
        fail("a second Refresh changed the text");

    const int lines = lineCount(text);
    const QList<Finding> findings = checkVocText(text, [](const QString&) { return true; });
    for (const Finding& f : findings) {
        if (f.line < 1 || f.line > lines)
            fail("a finding outside the text's lines");
        if (f.kind == Finding::Kind::NoRecording)
            fail("a missing recording where every recording is there");
        if (f.kind == Finding::Kind::Duplicate &&
            !(f.args.value(0).toInt() >= 1 && f.args.value(0).toInt() < f.line))
            fail("a word typed twice whose first line is not before it");
    }
    return 0;
}
