// Language lookups, their self-filling, and the shipped language file itself.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/language.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace tavi;
using tavi::test::FakeMessageBox;
using tavi::test::TestProgramFolder;

namespace {

// The text from open (just after a "(" or "{") to its matching close.
QString balanced(const QString& text, qsizetype open)
{
    int depth = 1;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text[i] == u'(' || text[i] == u'{')
            ++depth;
        else if ((text[i] == u')' || text[i] == u'}') && --depth == 0)
            return text.sliced(open, i - open);
    }
    return {};
}

// The arguments of a call (the text between its parentheses), split at its own commas.
QStringList argumentsOf(const QString& text)
{
    QStringList out{QString()};
    int depth = 0;
    for (QChar c : text) {
        depth += (c == u'(' || c == u'{' || c == u'[') - (c == u')' || c == u'}' || c == u']');
        if (c == u',' && depth == 0)
            out << QString();
        else
            out.back() += c;
    }
    return out;
}

QStringList literalsIn(const QString& code)
{
    static const QRegularExpression literal(QStringLiteral("\"([^\"\\\\]*)\""));
    QStringList out;
    for (const auto& m : literal.globalMatch(code))
        out << m.captured(1);
    return out;
}

// Every language key the program looks up, read from its source: the texts written in
// a LangText call, and where a call passes a name (LangText(key)), the texts that name
// gets: a local's or an array's initialiser, or a parameter's argument at every call
// of its function.
QStringList keysInSource()
{
    QString all;
    QDirIterator it(QStringLiteral(TAVI_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            all += QString::fromUtf8(f.readAll()) + u'\n';
    }
    QStringList keys;
    static const QRegularExpression call(QStringLiteral("\\bLangText\\("));
    static const QRegularExpression name(QStringLiteral("^\\s*(?:QLatin1String\\()?(\\w+)"));
    // A function's head: a line at the margin, and the indented lines it wraps into,
    // then a "{" of its own.
    static const QRegularExpression head(QStringLiteral("\\n(\\S[^\\n;{}]*(?:\\n[ \\t]+[^\\n;{}]*)*)\\n\\{"));
    struct Head {
        qsizetype start;
        qsizetype end;
        QString text;
    };
    QList<Head> heads;
    for (auto it = head.globalMatch(all); it.hasNext();) {
        const QRegularExpressionMatch h = it.next();
        heads.append({h.capturedStart(), h.capturedEnd(), h.captured(1)});
    }
    for (const auto& m : call.globalMatch(all)) {
        const QString argument = balanced(all, m.capturedEnd());
        keys << literalsIn(argument);
        const QString var = name.match(argument).captured(1);
        if (var.isEmpty() || var == u"const" || var.startsWith(u'Q') || !literalsIn(argument).isEmpty())
            continue; // the declaration, or no name
        // The function the call stands in: its head is the last line before a "{" of
        // its own.
        const auto enclosing = std::find_if(heads.rbegin(), heads.rend(),
                                            [&](const Head& h) { return h.start < m.capturedStart(); });
        if (enclosing == heads.rend())
            continue;
        // A local or an array there: "var = ...;" or "var[] = {...};".
        const QString body = all.sliced(enclosing->end, m.capturedStart() - enclosing->end);
        const QRegularExpression init(QStringLiteral("\\b%1(?:\\[\\])?\\s*=([^;]*);").arg(var));
        for (const auto& i : init.globalMatch(body))
            keys << literalsIn(i.captured(1));
        // A parameter of that function: its argument at every call of the function.
        static const QRegularExpression function(QStringLiteral("(\\w+)\\((.*)\\)"),
                                                 QRegularExpression::DotMatchesEverythingOption);
        const auto f = function.match(enclosing->text);
        const QStringList parameters = argumentsOf(f.captured(2));
        const QRegularExpression named(QStringLiteral("\\b%1\\b").arg(var));
        qsizetype index = 0;
        while (index < parameters.size() && !named.match(parameters[index]).hasMatch())
            ++index;
        if (!f.hasMatch() || index == parameters.size())
            continue;
        const QRegularExpression use(QStringLiteral("\\b%1\\(").arg(f.captured(1)));
        for (const auto& u : use.globalMatch(all)) {
            const QStringList args = argumentsOf(balanced(all, u.capturedEnd()));
            if (index < args.size())
                keys << literalsIn(args[index]);
        }
    }
    keys.removeDuplicates();
    return keys;
}

} // namespace

class TstLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupReadsCurrentSection();
    void missingOrEmptyKeyFillsItselfIn();
    void shippedFileHasEveryKey();
    void helpPages();
};

void TstLanguage::lookupReadsCurrentSection()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("language.ini", "[ENGLISH]\nbt_yes=Yes\n[GERMAN]\nbt_yes=Ja\n");
    LanguageSection = "GERMAN";
    QCOMPARE(LangText("bt_yes"), QString("Ja"));
    LanguageSection = "ENGLISH";
    QCOMPARE(LangText("bt_yes"), QString("Yes"));
    // Not cached: an edit made while the program runs shows at the next lookup.
    QVERIFY(ini::write(LanguageFile, "ENGLISH", "bt_yes", "Yes!"));
    QCOMPARE(LangText("bt_yes"), QString("Yes!"));
}

// A key without text, missing or empty, reads as empty and is written in with itself as
// its text, at its place or at the end of the section, which is made when missing; a
// language file that cannot be written stays empty, without a box.
void TstLanguage::missingOrEmptyKeyFillsItselfIn()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    FakeMessageBox boxes;
    folder.write("language.ini", "[ENGLISH]\nmain_end=\nbt_no=No\n");
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(LangText("main_end"), QString("main_end"));
    LanguageSection = "NEW";
    QCOMPARE(LangText("main_bt_flash"), QString());
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(LangText("main_bt_flash"), QString("main_bt_flash"));
    QCOMPARE(folder.read("language.ini"), QByteArray("[ENGLISH]\nmain_end=main_end\nbt_no=No\n[NEW]\n"
                                                     "main_bt_flash=main_bt_flash\nmain_end=main_end\n"));

    LanguageFile = folder.file("gone/language.ini");
    QCOMPARE(LangText("main_end"), QString());
    QCOMPARE(LangText("main_end"), QString());
    QVERIFY(boxes.calls.isEmpty());
}

void TstLanguage::shippedFileHasEveryKey()
{
    const QString file = tavi::test::shippedData("language.ini");
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY2(QString::fromUtf8(bytes).toUtf8() == bytes, "language.ini must be UTF-8");
    QVERIFY2(QString::fromUtf8(bytes).contains(QRegularExpression(QStringLiteral("\\n\\[NEW\\]\\s*$"))),
             "the NEW section comes last and is empty");
    const QStringList keys = keysInSource();
    QVERIFY2(keys.size() > 100, qPrintable(keys.join(u' '))); // the scan found the program's keys
    for (const QString& section : {QStringLiteral("ENGLISH"), QStringLiteral("GERMAN")}) {
        for (const QString& key : keys) {
            const QString text = ini::read(file, section, key);
            QVERIFY2(!text.isEmpty(), qPrintable(section + ": no text for " + key));
            QVERIFY2(text != key, qPrintable(section + ": untranslated " + key));
        }
        QVERIFY(ini::read(file, section, "main_welcome").size() < 498);
    }
}

void TstLanguage::helpPages()
{
    TestProgramFolder folder;
    for (const char* page : {"help.htm", "help_d.htm", "help_n.htm"}) {
        const QByteArray html = folder.read(QLatin1String(page));
        QVERIFY(html.contains("<meta charset=\"utf-8\">"));
        // The sections the installation check links to.
        for (const char* id : {"install_input", "install_ime", "install_sound"})
            QVERIFY2(html.contains(QByteArray("id=\"") + id + '"'), id);
    }
}

QTEST_GUILESS_MAIN(TstLanguage)
#include "tst_language.moc"
