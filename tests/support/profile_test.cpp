#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>

#include "support/profile.h"
#include "support/strutil.h"
#include "temp_folder.h"

namespace tov {
namespace {

using Names = std::vector<std::string>;

// "⏎" stands for CR LF in the texts below.
std::string crlf(std::string_view s)
{
    std::string out;
    const std::string_view mark = "⏎";
    for (size_t i = 0; i < s.size();) {
        if (s.substr(i, mark.size()) == mark) {
            out += "\r\n";
            i += mark.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// What a file read for a few sections (IniFileView) gives for a key: the
// value of its first line in the first section of that name, found by the
// names as the document finds them.
std::string viewRead(const IniFileView& view, std::string_view section, std::string_view key, const std::string& def)
{
    std::optional<std::string> found;
    const std::string wanted = asciiLower(trimIni(key));
    view.forEachKey(section, [&](std::string_view name, std::string_view value) {
        if (!found && asciiLower(name) == wanted) found = std::string(value);
    });
    return found.value_or(def);
}

TEST(IniRead, ValuesNamesAndComments)
{
    struct Case {
        std::string file;
        const char* section;
        const char* key;
        std::string expected;  // "<none>" when the default comes back
    };
    const Case cases[] = {
        {crlf("[s]⏎k=\"quoted\"⏎"), "s", "K", "quoted"},
        {crlf("[ S ]⏎; c=1⏎x⏎y = 2 ⏎"), "s", "x", "<none>"},
        {crlf("[ S ]⏎; c=1⏎x⏎y = 2 ⏎"), " s ", " Y", "2"},
        {crlf("[ S ]⏎; c=1⏎x⏎y = 2 ⏎"), "s", "; c", "<none>"},
        {crlf("[s]⏎  key1 = old  ; c⏎"), "s", "key1", "old  ; c"},
        {"[s]\nk=lf\nj=2", "s", "j", "2"},
        {"[s]\rk=cr\rj=3", "s", "k", "cr"},
        {crlf("[s]⏎k=\"\"x\"\"⏎"), "s", "k", "\"x\""},
        {crlf("[s]⏎k=\"abc'⏎"), "s", "k", "\"abc'"},
        {crlf("[s]⏎k='a b'⏎"), "s", "k", "a b"},
        {crlf("[s]⏎k=\" x \"⏎"), "s", "k", " x "},
        {crlf("[s]⏎k=\"⏎"), "s", "k", "\""},
        {crlf("[s]⏎k=''⏎"), "s", "k", ""},
        {crlf("[s]⏎#k=1⏎//c=2⏎"), "s", "#k", "1"},
        {crlf("[s]⏎#k=1⏎//c=2⏎"), "s", "//c", "2"},
        {crlf("k=0⏎[s]⏎j=1⏎"), "s", "k", "<none>"},
        {crlf("[a] junk⏎k=1⏎"), "A", "k", "1"},
        {crlf("[a]b]⏎k=1⏎"), "a]b", "k", "1"},
        {crlf("[s]⏎[abc⏎k=1⏎"), "s", "k", "1"},
        {crlf("[s]⏎[abc=2⏎"), "s", "[abc", "2"},
        {crlf("[s]⏎k=1⏎[S]⏎k=2⏎m=3⏎"), "s", "k", "1"},
        {crlf("[s]⏎k=1⏎[S]⏎k=2⏎m=3⏎"), "s", "m", "<none>"},
        {crlf("[s]⏎k=1⏎K=2⏎"), "s", "k", "1"},
        {crlf("\t[s]\x0C⏎\x0Bk\t=\x1A v \t⏎"), "s", "k", "v"},
        {crlf("[s]⏎=empty name⏎"), "s", "", "empty name"},
        {crlf("[s]⏎k=⏎"), "s", "k", ""},
        {crlf("[J\xEAzyk]⏎\x9F\xF3\xB3w=\xB9\xEA\xFF⏎"), "j\xEAZYK", "\x9F\xF3\xB3W", "\xB9\xEA\xFF"},
        {crlf("[\xB9]⏎k=1⏎"), "\xA5", "k", "<none>"},  // only ASCII letters fold
        {crlf("\xEF\xBB\xBF[s]⏎k=1⏎"), "s", "k", "<none>"},  // the BOM belongs to the first line
        {crlf("\xEF\xBB\xBFk=0⏎[s]⏎k=1⏎"), "s", "k", "1"},
        {std::string("[s]\r\nk=a\0b\r\n", 13), "s", "k", std::string("a\0b", 3)},
        {"", "s", "k", "<none>"},
    };
    for (const auto& c : cases) {
        const IniDocument doc = IniDocument::fromBytes(c.file);
        EXPECT_EQ(doc.read(c.section, c.key, "<none>"), c.expected) << ::testing::PrintToString(c.file);
        EXPECT_EQ(doc.hasKey(c.section, c.key), c.expected != "<none>") << ::testing::PrintToString(c.file);
        EXPECT_EQ(viewRead(IniFileView(c.file), c.section, c.key, "<none>"), c.expected)
            << ::testing::PrintToString(c.file);
    }
}

TEST(IniRead, ListsSectionsAndKeysInFileOrder)
{
    const IniDocument doc = IniDocument::fromBytes(
        crlf("top=1⏎[ S ]⏎; c=1⏎x⏎y = 2 ⏎[t]⏎b=1⏎a=2⏎B=3⏎[s]⏎z=9⏎[]⏎e=1⏎"));
    EXPECT_EQ(doc.sections(), (Names {"S", "t", "s", ""}));
    EXPECT_EQ(doc.keys("s"), (Names {"y"}));
    EXPECT_EQ(doc.keys("T"), (Names {"b", "a", "B"}));
    EXPECT_EQ(doc.keys(""), (Names {"e"}));
    EXPECT_EQ(doc.keys("missing"), Names {});
    EXPECT_TRUE(doc.hasSection(" t "));
    EXPECT_FALSE(doc.hasSection("u"));
}

struct EditCase {
    const char* what;
    std::string input;
    std::function<void(IniDocument&)> edit;
    std::string expected;
};

TEST(IniWrite, KeepsEveryUntouchedByte)
{
    const EditCase cases[] = {
        {"new sections at the end", crlf("[a]⏎k=1⏎⏎"),
         [](IniDocument& d) { d.write("b", "x", "1"); d.write("c", "y", "2"); },
         crlf("[a]⏎k=1⏎⏎[b]⏎x=1⏎[c]⏎y=2⏎")},
        {"existing key in place, spelled as in the file", crlf("[s]⏎  key1 = old  ; c⏎key2=x⏎"),
         [](IniDocument& d) { d.write("s", "KEY1", "new"); }, crlf("[s]⏎key1=new⏎key2=x⏎")},
        {"new key before blank lines", crlf("[s]⏎k=1⏎⏎[t]⏎"),
         [](IniDocument& d) { d.write("s", "n", "2"); }, crlf("[s]⏎k=1⏎n=2⏎⏎[t]⏎")},
        {"new key after comments? no: after the last key line", crlf("[s]⏎k=1⏎;c⏎junk⏎⏎"),
         [](IniDocument& d) { d.write("s", "n", "2"); }, crlf("[s]⏎k=1⏎n=2⏎;c⏎junk⏎⏎")},
        {"section without keys", crlf("[s]⏎; note⏎⏎[t]⏎"),
         [](IniDocument& d) { d.write("S", "n", "1"); }, crlf("[s]⏎n=1⏎; note⏎⏎[t]⏎")},
        {"LF line end kept", "[s]\nk=1\nj=2\n", [](IniDocument& d) { d.write("s", "k", "9"); },
         "[s]\nk=9\nj=2\n"},
        {"new line ends with CR LF in an LF file", "[s]\nk=1\n",
         [](IniDocument& d) { d.write("s", "n", "2"); }, "[s]\nk=1\nn=2\r\n"},
        {"lone CR line end kept", "[s]\rk=1\rj=2", [](IniDocument& d) { d.write("s", "k", "3"); },
         "[s]\rk=3\rj=2"},
        {"no final line end: key in place", crlf("[s]⏎k=1"),
         [](IniDocument& d) { d.write("s", "k", "2"); }, crlf("[s]⏎k=2")},
        {"no final line end: new key", crlf("[s]⏎k=1"), [](IniDocument& d) { d.write("s", "n", "2"); },
         crlf("[s]⏎k=1⏎n=2⏎")},
        {"no final line end: new section", crlf("[s]⏎k=1"),
         [](IniDocument& d) { d.write("t", "x", "1"); }, crlf("[s]⏎k=1⏎[t]⏎x=1⏎")},
        {"header as last line without line end", "[s]", [](IniDocument& d) { d.write("s", "k", "1"); },
         crlf("[s]⏎k=1⏎")},
        {"empty file", "", [](IniDocument& d) { d.write(" s ", " k ", " v "); }, crlf("[s]⏎k= v ⏎")},
        {"first of two sections", crlf("[s]⏎k=1⏎[s]⏎k=2⏎"),
         [](IniDocument& d) { d.write("s", "k", "9"); d.write("s", "n", "1"); },
         crlf("[s]⏎k=9⏎n=1⏎[s]⏎k=2⏎")},
        {"first of two keys", crlf("[s]⏎k=1⏎K=2⏎"), [](IniDocument& d) { d.write("s", "k", "9"); },
         crlf("[s]⏎k=9⏎K=2⏎")},
        {"delete key", crlf("[s]⏎a=1⏎b=2⏎c=3⏎"), [](IniDocument& d) { d.deleteKey("s", "B"); },
         crlf("[s]⏎a=1⏎c=3⏎")},
        {"delete missing key or section", crlf("[s]⏎a=1⏎;x⏎"),
         [](IniDocument& d) { d.deleteKey("s", "x"); d.deleteKey("t", "a"); d.deleteSection("t"); },
         crlf("[s]⏎a=1⏎;x⏎")},
        {"delete the first of two keys", crlf("[s]⏎k=1⏎k=2⏎"),
         [](IniDocument& d) { d.deleteKey("s", "k"); d.write("s", "k", "3"); }, crlf("[s]⏎k=3⏎")},
        {"delete section up to the next header", crlf("x=0⏎[a]⏎k=1⏎;c⏎⏎[b]⏎m=2⏎"),
         [](IniDocument& d) { d.deleteSection("A"); }, crlf("x=0⏎[b]⏎m=2⏎")},
        {"delete the first of two sections", crlf("[s]⏎k=1⏎[t]⏎[s]⏎k=2⏎"),
         [](IniDocument& d) { d.deleteSection("s"); d.write("s", "k", "3"); }, crlf("[t]⏎[s]⏎k=3⏎")},
        {"new key after deleting the last key", crlf("[s]⏎a=1⏎;c⏎b=2⏎⏎[t]⏎"),
         [](IniDocument& d) { d.deleteKey("s", "b"); d.write("s", "n", "3"); },
         crlf("[s]⏎a=1⏎n=3⏎;c⏎⏎[t]⏎")},
        {"new key after deleting every key", crlf("[s]⏎a=1⏎;c⏎"),
         [](IniDocument& d) { d.deleteKey("s", "a"); d.write("s", "n", "3"); }, crlf("[s]⏎n=3⏎;c⏎")},
        {"new section after deleting everything", crlf("[s]⏎k=1"),
         [](IniDocument& d) { d.deleteSection("s"); d.write("t", "x", "1"); }, crlf("[t]⏎x=1⏎")},
        {"new keys keep their order", crlf("[s]⏎a=1⏎⏎"),
         [](IniDocument& d) { d.write("s", "b", "2"); d.write("s", "c", "3"); d.write("s", "b", "4"); },
         crlf("[s]⏎a=1⏎b=4⏎c=3⏎⏎")},
        {"bytes 0x80-0xFF pass through", crlf("[\xA3\xF3\x64\xBC]⏎\xB9=\xFF\x80⏎"),
         [](IniDocument& d) { d.write("\xA3\xF3\x44\xBC", "\xB9", "\x9C\xE6"); d.write("\xA3\xF3\x64\xBC", "\xEA", "\x81"); },
         crlf("[\xA3\xF3\x64\xBC]⏎\xB9=\x9C\xE6⏎\xEA=\x81⏎")},
        {"a line break cannot enter the file", crlf("[s]⏎k=1⏎"),
         [](IniDocument& d) { d.write("s", "k", "a\r\n[x]\nb=2"); d.write("s\nt", "n\rm", "v"); },
         crlf("[s]⏎k=a⏎n=v⏎")},
        {"a BOM stays on the first line", crlf("\xEF\xBB\xBF[s]⏎k=1⏎"),
         [](IniDocument& d) { d.write("s", "k", "2"); }, crlf("\xEF\xBB\xBF[s]⏎k=1⏎[s]⏎k=2⏎")},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::fromBytes(c.input);
        c.edit(doc);
        EXPECT_EQ(doc.toBytes(), c.expected) << c.what;
        // The edited document answers like the same bytes read afresh.
        const IniDocument reread = IniDocument::fromBytes(doc.toBytes());
        EXPECT_EQ(doc.sections(), reread.sections()) << c.what;
        for (const auto& s : reread.sections()) {
            EXPECT_EQ(doc.keys(s), reread.keys(s)) << c.what;
            for (const auto& k : reread.keys(s)) EXPECT_EQ(doc.read(s, k), reread.read(s, k)) << c.what;
        }
    }
}

TEST(IniWrite, WrittenValuesReadBack)
{
    IniDocument doc = IniDocument::fromBytes(crlf("[s]⏎k=1⏎"));
    doc.write("s", "k", "  padded  ");
    doc.write("S", "q", "\"quoted\"");
    doc.write("new", "x", "");
    EXPECT_EQ(doc.read("s", "k"), "padded");
    EXPECT_EQ(doc.read("s", "q"), "quoted");
    EXPECT_TRUE(doc.hasKey("new", "x"));
    EXPECT_EQ(doc.keys("s"), (Names {"k", "q"}));
    doc.deleteSection("s");
    EXPECT_EQ(doc.sections(), Names {"new"});
    EXPECT_EQ(doc.read("s", "k", "gone"), "gone");
}

TEST(IniFile, RoundTripsEveryStoredFileByteForByte)
{
    std::vector<std::string> samples = {
        "", "\r", "\n\r\n\r", "[", "]", "[]", "=", ";", "[s", "a\r\r\n\n\rb", std::string("\0\0[s]\0=\0", 8),
        crlf("[s]⏎k=1⏎⏎[t]⏎ x = y ⏎"),
    };
    for (const auto& e : std::filesystem::directory_iterator(TOVRANA_CORPUS_DIR "/ini")) {
        std::string data;
        ASSERT_TRUE(readFileBytes(e.path().string(), data));
        samples.push_back(data);
    }
    for (const auto& s : samples) {
        const IniDocument doc = IniDocument::fromBytes(s);
        EXPECT_EQ(doc.toBytes(), s);
        // A file read for a few sections lists the same sections and finds
        // the same values.
        const IniFileView view(s);
        const std::vector<std::string_view> viewed = view.sections();
        EXPECT_EQ(Names(viewed.begin(), viewed.end()), doc.sections());
        for (const auto& sec : doc.sections()) {
            Names keys;
            view.forEachKey(sec, [&keys](std::string_view name, std::string_view) { keys.emplace_back(name); });
            EXPECT_EQ(keys, doc.keys(sec)) << sec;
            for (const auto& k : doc.keys(sec)) {
                EXPECT_TRUE(doc.hasKey(sec, k)) << sec << "/" << k;
                EXPECT_EQ(viewRead(view, sec, k, "<none>"), doc.read(sec, k)) << sec << "/" << k;
            }
        }
    }
}

TEST(IniFile, OneKeyAccess)
{
    tov::testing::TempFolder dir;
    const std::string f = dir / "t.ini";
    EXPECT_EQ(profileRead(f, "files", "bfile"), "");
    EXPECT_TRUE(profileDeleteKey(f, "files", "bfile"));
    EXPECT_EQ(dir.entries(), Names {});  // deleting from a missing file creates nothing

    ASSERT_TRUE(profileWrite(f, "files", "bfile", "./base/a.drc"));
    EXPECT_EQ(dir.get("t.ini"), crlf("[files]⏎bfile=./base/a.drc⏎"));
    EXPECT_EQ(profileRead(f, "FILES", "BFile"), "./base/a.drc");

    // A write that changes nothing leaves the file alone.
    struct stat before {}, after {};
    ::stat(f.c_str(), &before);
    ASSERT_TRUE(profileWrite(f, "files", "bfile", "./base/a.drc"));
    ::stat(f.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);

    ASSERT_TRUE(profileEdit(f, [](IniDocument& d) {
        d.write("files", "fm", "1");
        d.deleteKey("files", "bfile");
    }));
    EXPECT_EQ(dir.get("t.ini"), crlf("[files]⏎fm=1⏎"));
    ASSERT_TRUE(profileDeleteKey(f, "files", "fm"));
    EXPECT_EQ(dir.get("t.ini"), crlf("[files]⏎"));

    // A path that cannot be read as a file is never overwritten.
    ::mkdir((dir / "d.ini").c_str(), 0755);
    EXPECT_FALSE(profileWrite(dir / "d.ini", "s", "k", "v"));
    EXPECT_FALSE(profileDeleteKey(dir / "d.ini", "s", "k"));
    struct stat st {};
    ::stat((dir / "d.ini").c_str(), &st);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(profileRead(dir / "d.ini", "s", "k"), "");
}

}  // namespace
}  // namespace tov
