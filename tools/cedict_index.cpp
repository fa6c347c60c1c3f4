// Turns the CC-CEDICT data file into the index the program maps at its first look-up;
// run by the build, which lays cedict.idx into the program folder.
#include "vocabulary/dictionary.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: cedict_index INPUT.u8 OUTPUT.idx\n");
        return 2;
    }
    QString error;
    if (!tavi::buildDictionaryIndex(args[1], args[2], &error)) {
        std::fprintf(stderr, "cedict_index: %s\n", qUtf8Printable(error));
        return 1;
    }
    return 0;
}
