// The C string-array commands of the main window on a file of 10 languages
// with 5,000 texts each: opening (template, reading, pickers, both columns),
// switching the destination language, and saving through the save dialog
// (column taken back, dated backup, writing).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>

#include "formats/source_kind.h"
#include "support/atomic_file.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

constexpr int kLanguages = 10;
constexpr int kArrays = 50;
constexpr int kPerArray = 100;

std::string slotLine(const std::string& text, int lang)
{
    std::string s = std::string(19, ' ') + "\"" + text + "\",";
    if (s.size() < 60) s.append(60 - s.size(), ' ');
    return s + "  // " + std::to_string(lang) + "\r\n";
}

std::string sampleFile()
{
    std::string f = "#include \"texts.h\"\r\nconst char *language_names[] = {\r\n";
    for (int l = 0; l < kLanguages; ++l) f += slotLine("J\xEAzyk " + std::to_string(l), l);
    f += "};\r\n";
    for (int a = 0; a < kArrays; ++a) {
        f += "const char *texts_" + std::to_string(a) + "[][" + std::to_string(kPerArray) + "] = {\r\n";
        for (int l = 0; l < kLanguages; ++l)
            for (int i = 0; i < kPerArray; ++i)
                f += slotLine("Tekst " + std::to_string(a * kPerArray + i) + " j\xEAzyka " + std::to_string(l), l);
        f += "};\r\n";
    }
    return f;
}

// The windows on a temporary program folder holding the sample file; the
// templates go to the same folder.
struct Session {
    tov::testing::TempFolder dir;
    std::string folder = dir.path();
    std::string base = folder + "texts.c";
    bool hadTmp = qEnvironmentVariableIsSet("TMPDIR");
    QByteArray oldTmp = qgetenv("TMPDIR");
    tov::test::ScriptedPrompts prompts;
    std::unique_ptr<tov::TForm1> form1;
    std::unique_ptr<tov::TForm2> form2;

    Session()
    {
        if (!tov::writeFileAtomic(base, sampleFile()).ok) std::abort();
        qputenv("TMPDIR", QByteArray::fromStdString(folder));
        form1 = std::make_unique<tov::TForm1>(folder, folder + "tovrana.ini", prompts);
        form2 = std::make_unique<tov::TForm2>(*form1);
        form1->show();
        QApplication::processEvents();
        form1->sourceKind = tov::kCArrays;
        form1->settings().setFile("c2", "3");
    }
    ~Session()
    {
        form2.reset();
        form1.reset();
        // An empty TMPDIR is a folder that does not exist to the ones that follow.
        if (hadTmp)
            qputenv("TMPDIR", oldTmp);
        else
            qunsetenv("TMPDIR");
    }
    void open()
    {
        if (!form1->destFile.empty()) QFile::remove(tov::pathToQString(form1->destFile));
        form1->ReadBaseFile(base);
        form1->SG1->sync();
    }
};

void BM_CArraysOpenCommand(benchmark::State& state)
{
    Session s;
    for (auto _ : state) {
        s.open();
        if (s.form1->ComboBox2->count() != kLanguages) state.SkipWithError("open failed");
    }
    state.counters["rows"] = s.form1->SG1->rowCount() - 1;
}
BENCHMARK(BM_CArraysOpenCommand)->Unit(benchmark::kMillisecond);

void BM_CArraysSwitchLanguage(benchmark::State& state)
{
    Session s;
    s.open();
    int item = 3;
    for (auto _ : state) {
        item = item == 3 ? 4 : 3;
        s.form1->ComboBox2->setCurrentIndex(item);
    }
}
BENCHMARK(BM_CArraysSwitchLanguage)->Unit(benchmark::kMillisecond);

void BM_CArraysSaveCommand(benchmark::State& state)
{
    Session s;
    s.open();
    std::vector<std::pair<int, std::string>> texts;
    for (int i = 0; i < s.form1->document().size(); ++i) texts.emplace_back(i, "Przet\xB3umaczony " + std::to_string(i + 1));
    s.form1->pushEdit(std::make_unique<tov::SetDestinations>(s.form1->document(), texts));
    const QString out = tov::pathToQString(s.folder + "out.c");
    for (auto _ : state) {
        s.prompts.choose(out);
        s.form1->Savedest1Click();
        if (!s.prompts.messages().empty()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_CArraysSaveCommand)->Unit(benchmark::kMillisecond);

}  // namespace
