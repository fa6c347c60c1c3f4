// Replays inputs through a fuzz target without libFuzzer: every file named, and every
// file in a folder named, in name order. Lets ctest run the seed corpora in an ordinary
// build; a target that finds a fault aborts, and the test fails.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString name = QFile::decodeName(argv[i]);
        if (!QFileInfo(name).isDir()) {
            files << name;
            continue;
        }
        const QDir dir(name);
        for (const QString& entry :
             dir.entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
            files << dir.filePath(entry);
    }
    int replayed = 0;
    for (const QString& name : files) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qUtf8Printable(name));
            return 1;
        }
        const QByteArray bytes = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        ++replayed;
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
