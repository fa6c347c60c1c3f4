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
    QString kind;
    QString name;
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

quint32 valueAt(const QByteArray& bytes, qint64 offset, int width)
{
    return width == 2 ? qFromLittleEndian<quint16>(bytes.constData() + offset)
                      : qFromLittleEndian<quint32>(bytes.constData() + offset);
}

// The parser over a copy of exactly these bytes, so that the sanitizer build sees any
// read past their end.
bool parses(const QByteArray& bytes)
{
    const auto exact = std::make_unique<char[]>(size_t(bytes.size()));
    std::memcpy(exact.get(), bytes.constData(), size_t(bytes.size()));
    return parseVersionResource(QByteArrayView(exact.get(), bytes.size())).has_value();
}

QStringList allTexts(const CFileVersionInfo& v)
{
    return {v.FileFlags(),       v.FileOS(),          v.FileType(),         v.FileSubType(),
            v.VerFile(),         v.VerProduct(),      v.VerStructure(),     v.CompanyName(),
            v.FileDescription(), v.FileVersion(),     v.InternalName(),     v.Language(),
            v.LegalCopyright(),  v.LegalTrademarks(), v.OriginalFilename(), v.ProductName(),
            v.ProductVersion()};
}

const QStringList germanStrings = {QStringLiteral("Müller & Söhne GmbH"),
                                   QStringLiteral("Wörterbuch 中文 \U00020000"),
                                   QStringLiteral("5.00.0001"),
                                   QStringLiteral("german"),
                                   QStringLiteral("© 2001 Müller & Söhne"),
                                   QStringLiteral("Tavi™"),
                                   QStringLiteral("GERMAN.DLL"),
                                   QStringLiteral("Tavi Wörterbuch"),
                                   QStringLiteral("5.00")};

QStringList stringsOf(const CFileVersionInfo& v)
{
    return {v.CompanyName(),     v.FileDescription(),  v.FileVersion(), v.InternalName(),  v.LegalCopyright(),
            v.LegalTrademarks(), v.OriginalFilename(), v.ProductName(), v.ProductVersion()};
}

} // namespace

class TstFileVersionInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedPart_data();
    void fixedPart();
    void stringTable_data();
    void stringTable();
    void languageNames_data();
    void languageNames();
    void withoutVersionResource_data();
    void withoutVersionResource();
    void withoutTranslationTable();
    void laterFileLeavesMissingPartsInPlace();
    void pathMadeAbsoluteAndEmptyPathIgnored();
    void refreshReadsTheFileAgain();
    void truncatedAnywhere_data();
    void truncatedAnywhere();
    void hostileFields_data();
    void hostileFields();
    void hostileFileOnDisk();
};

void TstFileVersionInfo::fixedPart_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>(
        "texts"); // VerFile VerProduct VerStructure FileFlags FileOS FileType FileSubType

    const QStringList german = {"5.00.0001", "5.00.0001", "1.0", "Debug PreRel", "NT-Win32", "DLL", ""};
    QTest::newRow("PE32, 5.0.0.1, flags 3") << "german.dll" << german;
    QTest::newRow("PE32+") << "german64.dll" << german;
    QTest::newRow("4.72.3110.0") << "v4_72.dll" << QStringList{"4.72.311000", "4.72.311000", "1.0", "",
                                                               "DOS-Win32",   "Application", ""};
    QTest::newRow("5.0.0.0, all flags, driver")
        << "v5_0_0_0.dll"
        << QStringList{"5.00.0000", "6.00.29005512", "1.0",       "Debug PreRel Patched Private Info Special",
                       "Unknown",   "Driver",        "System drv"};
    QTest::newRow("font") << "font.dll" << QStringList{"1.02.0304",     "1.02.0304", "1.0",          "Info",
                                                       "OS/2-16 PM-16", "Font",      "TrueType Font"};
    QTest::newRow("halves are signed; unknown flag and type")
        << "negative.dll"
        << QStringList{"-1.-02.-0001", "-1.-02.-0001", "1.0", "", "OS/2-16 PM-32", "Unknown", ""};
}

void TstFileVersionInfo::fixedPart()
{
    QFETCH(QString, file);
    QFETCH(QStringList, texts);
    CFileVersionInfo info;
    info.setFullPathName(peFile(file));
    QVERIFY(info.Available());
    QCOMPARE((QStringList{info.VerFile(), info.VerProduct(), info.VerStructure(), info.FileFlags(),
                          info.FileOS(), info.FileType(), info.FileSubType()}),
             texts);
}

void TstFileVersionInfo::stringTable_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("PE32") << "german.dll";
    QTest::newRow("PE32+") << "german64.dll";
}

void TstFileVersionInfo::stringTable()
{
    QFETCH(QString, file);
    CFileVersionInfo info;
    info.setFullPathName(peFile(file));
    QVERIFY(info.Available());
    QCOMPARE(info.Language(), QStringLiteral("German (Germany)"));
    QCOMPARE(stringsOf(info), germanStrings);
}

void TstFileVersionInfo::languageNames_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::newRow("0409") << 0x0409 << "English (United States)";
    QTest::newRow("0407") << 0x0407 << "German (Germany)";
    QTest::newRow("0000") << 0x0000 << "Language Neutral";
    QTest::newRow("0804") << 0x0804 << "Chinese (PRC)";
    QTest::newRow("0404") << 0x0404 << "Chinese (Taiwan)";
    QTest::newRow("0411") << 0x0411 << "Japanese (Japan)";
    QTest::newRow("unknown") << 0x7C7C << "";
}

// The translation entry rewritten to another language: its name, and the German table
// no longer taken, since its code does not match.
void TstFileVersionInfo::languageNames()
{
    QFETCH(int, id);
    QFETCH(QString, name);
    const Field translation =
        field(QStringLiteral("german.dll"), QStringLiteral("value"), QStringLiteral("Translation"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang.dll"));
    writeFile(path, patched(bytesOf(QStringLiteral("german.dll")), translation.offset, 2, quint32(id)));
    CFileVersionInfo info;
    info.setFullPathName(path);
    QVERIFY(info.Available());
    QCOMPARE(info.Language(), name);
    QCOMPARE(info.CompanyName().isEmpty(), id != 0x0407);
}

void TstFileVersionInfo::withoutVersionResource_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes"); // a relative path: these bytes, written into a temporary folder
    QTest::newRow("no resources") << peFile(QStringLiteral("no_resource.dll")) << QByteArray();
    QTest::newRow("resources, none of version type")
        << peFile(QStringLiteral("other_resources.dll")) << QByteArray();
    QTest::newRow("missing file") << peFile(QStringLiteral("missing.dll")) << QByteArray();
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

void TstFileVersionInfo::withoutTranslationTable()
{
    CFileVersionInfo info;
    info.setFullPathName(peFile(QStringLiteral("fixed_only.dll")));
    QVERIFY(info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("1.00.0000"));
    QCOMPARE(info.FileType(), QStringLiteral("Application"));
    QCOMPARE(info.Language(), QString());
    QCOMPARE(stringsOf(info), QStringList(9, QString()));
}

void TstFileVersionInfo::laterFileLeavesMissingPartsInPlace()
{
    CFileVersionInfo info;
    info.setFullPathName(peFile(QStringLiteral("german.dll")));
    const QStringList german = allTexts(info);

    info.setFullPathName(peFile(QStringLiteral("no_resource.dll")));
    QVERIFY(!info.Available());
    QCOMPARE(allTexts(info), german);

    info.setFullPathName(peFile(QStringLiteral("fixed_only.dll")));
    QVERIFY(info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("1.00.0000"));
    QCOMPARE(info.FileFlags(), QString());
    QCOMPARE(info.Language(), QStringLiteral("German (Germany)"));
    QCOMPARE(stringsOf(info), germanStrings);

    // A DLL's subtype means nothing, so it keeps the driver's.
    info.setFullPathName(peFile(QStringLiteral("v5_0_0_0.dll")));
    info.setFullPathName(peFile(QStringLiteral("german.dll")));
    QCOMPARE(info.FileType(), QStringLiteral("DLL"));
    QCOMPARE(info.FileSubType(), QStringLiteral("System drv"));
}

void TstFileVersionInfo::pathMadeAbsoluteAndEmptyPathIgnored()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(TAVI_PE_FILES)));
    CFileVersionInfo info;
    info.setFullPathName(QStringLiteral("shdocvw_4_72/../german.dll"));
    QDir::setCurrent(before);
    QVERIFY(QFileInfo(info.FullPathName()).isAbsolute());
    QCOMPARE(QFileInfo(info.FullPathName()).canonicalFilePath(),
             QFileInfo(peFile(QStringLiteral("german.dll"))).canonicalFilePath());
    QVERIFY(info.Available());

    const QString path = info.FullPathName();
    info.setFullPathName(QString());
    QCOMPARE(info.FullPathName(), path);
    QVERIFY(info.Available());
}

void TstFileVersionInfo::refreshReadsTheFileAgain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.dll"));
    writeFile(path, bytesOf(QStringLiteral("german.dll")));
    CFileVersionInfo info;
    info.setFullPathName(path);
    QCOMPARE(info.VerFile(), QStringLiteral("5.00.0001"));

    writeFile(path, bytesOf(QStringLiteral("v4_72.dll")));
    info.Refresh();
    QVERIFY(info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("4.72.311000"));

    QVERIFY(QFile::remove(path));
    info.Refresh();
    QVERIFY(!info.Available());
    QCOMPARE(info.VerFile(), QStringLiteral("4.72.311000"));
}

void TstFileVersionInfo::truncatedAnywhere_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("PE32") << "german.dll";
    QTest::newRow("PE32+") << "german64.dll";
}

// The resource section ends the file, so every cut leaves a section that claims more
// than the file holds.
void TstFileVersionInfo::truncatedAnywhere()
{
    QFETCH(QString, file);
    const QByteArray bytes = bytesOf(file);
    QVERIFY(parses(bytes));
    for (qsizetype n = 0; n < bytes.size(); ++n)
        QVERIFY2(!parses(bytes.left(n)), qPrintable(QStringLiteral("cut at %1").arg(n)));
}

void TstFileVersionInfo::hostileFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    constexpr quint32 high = 0x80000000u;
    for (const QString& file : {QStringLiteral("german.dll"), QStringLiteral("german64.dll")}) {
        const QByteArray good = bytesOf(file);
        QVERIFY(parses(good));
        // Every offset and length pointed past the end of the file or of its block; an
        // offset to a resource directory keeps the flag that says it is one.
        for (const Field& f : fieldsOf(file)) {
            if (f.kind != QLatin1String("field"))
                continue;
            const quint32 flag = valueAt(good, f.offset, f.width) & high;
            const QList<quint32> values =
                f.width == 2 ? QList<quint32>{0xFFFF}
                             : QList<quint32>{0xFFFFFFFF, flag | 0x7FFFFFFF, flag | quint32(good.size())};
            for (quint32 v : values)
                QTest::addRow("%s %s=0x%X", qPrintable(file), qPrintable(f.name), v)
                    << patched(good, f.offset, f.width, v);
        }
        // Directory entries that lead back into the tree, and a data entry that is a
        // directory.
        const auto dirOffset = [&](const char* name) {
            return quint32(field(file, QStringLiteral("dir"), QLatin1String(name)).offset);
        };
        const struct {
            const char* entry;
            quint32 target;
        } loops[] = {{"types.version.OffsetToData", high | dirOffset("types")},
                     {"names.OffsetToData", high | dirOffset("names")},
                     {"names.OffsetToData", high | dirOffset("types")},
                     {"languages.OffsetToData", high | dirOffset("languages")},
                     {"languages.OffsetToData", dirOffset("languages")}};
        for (const auto& loop : loops) {
            const Field f = field(file, QStringLiteral("field"), QLatin1String(loop.entry));
            QTest::addRow("%s loop %s=0x%X", qPrintable(file), loop.entry, loop.target)
                << patched(good, f.offset, 4, loop.target);
        }
    }
}

void TstFileVersionInfo::hostileFields()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!parses(bytes));
}

// Through the file: a hostile file after a good one only turns Available off.
void TstFileVersionInfo::hostileFileOnDisk()
{
    const QByteArray good = bytesOf(QStringLiteral("german.dll"));
    const Field names =
        field(QStringLiteral("german.dll"), QStringLiteral("field"), QStringLiteral("names.OffsetToData"));
    const quint32 namesDir =
        quint32(field(QStringLiteral("german.dll"), QStringLiteral("dir"), QStringLiteral("names")).offset);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hostile.dll"));
    CFileVersionInfo info;
    info.setFullPathName(peFile(QStringLiteral("german.dll")));
    const QStringList german = allTexts(info);
    for (const QByteArray& bytes : {good.left(good.size() / 2), good.left(good.size() - 1),
                                    patched(good, names.offset, 4, 0x80000000u | namesDir)}) {
        writeFile(path, bytes);
        info.setFullPathName(path);
        QVERIFY(!info.Available());
        QCOMPARE(allTexts(info), german);
    }
}

QTEST_GUILESS_MAIN(TstFileVersionInfo)
#include "tst_file_version_info.moc"
