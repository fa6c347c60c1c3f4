// The version reader: the texts of the fixed part, the string table and its language,
// what a later file leaves in place, and hostile files, which read as files without
// version resource and are never read past their end. The files come from
// tools/make_pe_files.py; hostile ones are made here from a good one.
#include "install/file_version_info.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cstring>
#include <memory>

using namespace tavi;

namespace {

QString peFile(const QString& name)
{
    return QStringLiteral(TAVI_PE_FILES) + u'/' + name;
}

QByteArray bytesOf(const QString& name)
{
    QFile f(peFile(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A line of NAME.fields: where the generator put an offset, a length, a binary value
// or a resource directory.
struct Field {
    QString kind, name;
    qint64 offset = 0;
    int width = 0;
};

QList<Field> fieldsOf(const QString& dll)
{
    QFile f(peFile(QString(dll).replace(QLatin1String(".dll"), QLatin1String(".fields"))));
    QList<Field> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 3)
            out.append({QString::fromLatin1(parts[0]), QString::fromLatin1(parts[1]), parts[2].toLongLong(),
                        parts.size() > 3 ? parts[3].toInt() : 0});
    }
    return out;
}

Field field(const QString& dll, const QString& kind, const QString& name)
{
    for (const Field& f : fieldsOf(dll)) {
        if (f.kind == kind && f.name == name)
            return f;
    }
    qFatal("no %s %s in the field list of %s", qPrintable(kind), qPrintable(name), qPrintable(dll));
}

QByteArray patched(QByteArray bytes, qint64 offset, int width, quint32 value)
{
    if (width == 2)
        qToLittleEndian(quint16(value), bytes.data() + offset);
    else
        qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

// The parser over a copy of exactly these bytes, so that the sanitizer build sees any
// read past their end.
bool parses(const QByteArray& bytes)
{
    const auto exact = std::make_unique<char[]>(size_t(bytes.size()));
    std::memcpy(exact.get(), bytes.constData(), size_t(bytes.size()));
    return parseVersionResource(QByteArrayView(exact.get(), bytes.size())).has_value();
}

// The fixed part's seven texts, the language and the nine strings.
QStringList allTexts(const CFileVersionInfo& v)
{
    return {v.VerFile(),     v.VerProduct(),    v.VerStructure(),   v.FileFlags(),       v.FileOS(),
            v.FileType(),    v.FileSubType(),   v.Language(),       v.CompanyName(),     v.FileDescription(),
            v.FileVersion(), v.InternalName(),  v.LegalCopyright(), v.LegalTrademarks(), v.OriginalFilename(),
            v.ProductName(), v.ProductVersion()};
}

// The nine strings of german.dll.
const QString germanStrings =
    "Müller & Söhne GmbH|Wörterbuch 中文 \U00020000|5.00.0001|german|© 2001 Müller & Söhne|"
    "Tavi™|GERMAN.DLL|Tavi Wörterbuch|5.00";

} // namespace

class TstFileVersionInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
    void languageNames();
    void withoutVersionResource_data();
    void withoutVersionResource();
    void laterFileLeavesMissingPartsInPlace();
    void refreshAndHostileFilesOnDisk();
    void hostileTablesNeverParse();
};

// Each row names a file.
void TstFileVersionInfo::texts_data()
{
    // VerFile|VerProduct|VerStructure|FileFlags|FileOS|FileType|FileSubType|Language
    QTest::addColumn<QString>("texts");
    const QString german = "5.00.0001|5.00.0001|1.0|Debug PreRel|NT-Win32|DLL||German (Germany)";
    const QString en = "|English (United States)"; // the default translation
    QTest::newRow("german.dll") << german;         // PE32, 5.0.0.1, flags 3
    QTest::newRow("german64.dll") << german;       // PE32+
    QTest::newRow("v4_72.dll") << "4.72.311000|4.72.311000|1.0||DOS-Win32|Application|" + en;
    QTest::newRow("v5_0_0_0.dll") // all flags, a driver
        << "5.00.0000|6.00.29005512|1.0|Debug PreRel Patched Private Info Special|Unknown|Driver|System drv" +
               en;
    QTest::newRow("font.dll") << "1.02.0304|1.02.0304|1.0|Info|OS/2-16 PM-16|Font|TrueType Font" + en;
    // Signed halves, an unknown flag and type.
    QTest::newRow("negative.dll") << "-1.-02.-0001|-1.-02.-0001|1.0||OS/2-16 PM-32|Unknown|" + en;
    // Strings under no translation are not read.
    QTest::newRow("fixed_only.dll") << "1.00.0000|1.00.0000|1.0||NT-Win32|Application||";
}

void TstFileVersionInfo::texts()
{
    const QString file = QTest::currentDataTag();
    QFETCH(QString, texts);
    CFileVersionInfo info;
    info.setFullPathName(peFile(file));
    QVERIFY(info.Available());
    QCOMPARE(allTexts(info).first(8).join(u'|'), texts);
    // The German files hold all nine strings, the others none that is read.
    QCOMPARE(allTexts(info).sliced(8).join(u'|'),
             file.startsWith("german") ? germanStrings : QString(8, u'|'));
}

// The translation entry rewritten to another language: its name, and the German table
// no longer taken, since its code does not match.
void TstFileVersionInfo::languageNames()
{
    const Field translation = field("german.dll", "value", "Translation");
    QTemporaryDir dir;
    const QString path = dir.filePath("lang.dll");
    const std::pair<int, const char*> names[] = {
        {0x0407, "German (Germany)"}, {0x0000, "Language Neutral"}, {0x0804, "Chinese (PRC)"}, {0x7C7C, ""}};
    for (const auto& [id, name] : names) {
        writeFile(path, patched(bytesOf("german.dll"), translation.offset, 2, quint32(id)));
        CFileVersionInfo info;
        info.setFullPathName(path);
        QVERIFY(info.Available());
        QCOMPARE(info.Language(), QString::fromUtf8(name));
        QCOMPARE(info.CompanyName().isEmpty(), id != 0x0407);
    }
}

void TstFileVersionInfo::withoutVersionResource_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes"); // a relative path: these bytes, written into a temporary folder
    QTest::newRow("no resources") << peFile("no_resource.dll") << QByteArray();
    QTest::newRow("resources, none of version type") << peFile("other_resources.dll") << QByteArray();
    QTest::newRow("missing file") << peFile("missing.dll") << QByteArray();
    QTest::newRow("a folder") << QStringLiteral(TAVI_PE_FILES) << QByteArray();
    QTest::newRow("text file") << "text.dll" << QByteArray("MZ is not enough\r\n");
    QTest::newRow("empty file") << "empty.dll" << QByteArray();
}

void TstFileVersionInfo::withoutVersionResource()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    if (QFileInfo(path).isRelative()) {
        path = dir.filePath(path);
        writeFile(path, bytes);
    }
    CFileVersionInfo info;
    info.setFullPathName(path);
    QVERIFY(!info.Available());
    QCOMPARE(allTexts(info), QStringList(17, QString()));
}

// A later file leaves what it lacks in place; a relative path is made absolute, and an
// empty one changes nothing.
void TstFileVersionInfo::laterFileLeavesMissingPartsInPlace()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(TAVI_PE_FILES)));
    CFileVersionInfo info;
    info.setFullPathName(QStringLiteral("shdocvw_4_72/../german.dll"));
    QDir::setCurrent(before);
    QVERIFY(QFileInfo(info.FullPathName()).isAbsolute());
    QCOMPARE(QFileInfo(info.FullPathName()).canonicalFilePath(),
             QFileInfo(peFile("german.dll")).canonicalFilePath());
    const QStringList german = allTexts(info);

    info.setFullPathName(peFile("no_resource.dll"));
    QVERIFY(!info.Available());
    QCOMPARE(allTexts(info), german);

    info.setFullPathName(peFile("fixed_only.dll"));
    QVERIFY(info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("1.00.0000"));
    QCOMPARE(info.FileFlags(), QString());
    QCOMPARE(allTexts(info).sliced(7).join(u'|'), "German (Germany)|" + germanStrings);

    // A DLL's subtype means nothing, so it keeps the driver's.
    info.setFullPathName(peFile("v5_0_0_0.dll"));
    info.setFullPathName(peFile("german.dll"));
    QCOMPARE(info.FileType(), QStringLiteral("DLL"));
    QCOMPARE(info.FileSubType(), QStringLiteral("System drv"));

    const QString path = info.FullPathName();
    info.setFullPathName(QString());
    QCOMPARE(info.FullPathName(), path);
    QVERIFY(info.Available());
}

// Refresh reads the file again; a hostile or missing file there only turns Available off.
void TstFileVersionInfo::refreshAndHostileFilesOnDisk()
{
    const QByteArray good = bytesOf("german.dll");
    QTemporaryDir dir;
    const QString path = dir.filePath("x.dll");
    writeFile(path, good);
    CFileVersionInfo info;
    info.setFullPathName(path);
    QCOMPARE(info.VerFile(), QStringLiteral("5.00.0001"));
    writeFile(path, bytesOf("v4_72.dll"));
    info.Refresh();
    QVERIFY(info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("4.72.311000"));
    const QStringList texts = allTexts(info);
    writeFile(path, good.left(good.size() - 1));
    info.Refresh();
    QVERIFY(!info.Available());
    QCOMPARE(allTexts(info), texts);
    QVERIFY(QFile::remove(path));
    info.Refresh();
    QVERIFY(!info.Available());
    QCOMPARE(allTexts(info), texts);
}

// Every cut of the file (the resource section ends it, so each leaves a section that
// claims more than the file holds); every offset and length pointed past the end of the
// file or of its block (an offset to a resource directory keeps the flag that says it
// is one); directory entries that lead back into the tree, and a data entry that is a
// directory.
void TstFileVersionInfo::hostileTablesNeverParse()
{
    constexpr quint32 high = 0x80000000u;
    for (const QString file : {"german.dll", "german64.dll"}) { // PE32 and PE32+
        const QByteArray good = bytesOf(file);
        QVERIFY(parses(good));
        for (qsizetype n = 0; n < good.size(); ++n)
            QVERIFY2(!parses(good.left(n)), qPrintable(file + QStringLiteral(" cut at %1").arg(n)));

        QList<std::pair<Field, quint32>> patches;
        for (const Field& f : fieldsOf(file)) {
            if (f.kind != QLatin1String("field"))
                continue;
            const quint32 flag =
                f.width == 4 ? qFromLittleEndian<quint32>(good.constData() + f.offset) & high : 0;
            for (quint32 v : f.width == 2
                                 ? QList<quint32>{0xFFFF}
                                 : QList<quint32>{0xFFFFFFFF, flag | 0x7FFFFFFF, flag | quint32(good.size())})
                patches.append({f, v});
        }
        const auto entry = [&](const char* name) { return field(file, "field", QLatin1String(name)); };
        const auto dir = [&](const char* name) {
            return high | quint32(field(file, "dir", QLatin1String(name)).offset);
        };
        patches.append({entry("types.version.OffsetToData"), dir("types")});
        patches.append({entry("names.OffsetToData"), dir("names")});
        patches.append({entry("names.OffsetToData"), dir("types")});
        patches.append({entry("languages.OffsetToData"), dir("languages")});
        patches.append({entry("languages.OffsetToData"), dir("languages") & ~high});
        for (const auto& [f, v] : patches)
            QVERIFY2(!parses(patched(good, f.offset, f.width, v)),
                     qPrintable(file + QStringLiteral(" %1=0x%2").arg(f.name).arg(v, 0, 16)));
    }
}

QTEST_GUILESS_MAIN(TstFileVersionInfo)
#include "tst_file_version_info.moc"
