// File > "Export to XLIFF…", "Import XLIFF…", "Export to PO…", "Import PO…":
// the table through the tool's exchange files, an import as one undo step.
#include "formats/source_kind.h"
#include "support/strutil.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using Exchange = WorkspaceTest;

std::vector<Entry> rows(const std::vector<std::string>& dests)
{
    const char* ids[] = {"KfxOpen", "KfxSave", "KfxClose"};
    const char* bases[] = {"Open", "Save", "Close %s"};
    std::vector<Entry> out;
    for (std::size_t i = 0; i < dests.size(); ++i) {
        Entry e;
        e.id = ids[i];
        e.base = bases[i];
        e.dest = e.stored = dests[i];
        e.rule = LengthRule::AtMost;
        out.push_back(e);
    }
    return out;
}

TEST_F(Exchange, AnImportIsOneUndoStepAndItsProblemsOneMessage)
{
    start();
    form1->showRows(kKonfix, rows({"Otw\xF3rz", "", "Zamknij %s"}));
    for (QAction* export_ : {form1->ExporttoXLIFF1, form1->ExporttoPO1}) {
        SCOPED_TRACE(export_->text().toStdString());
        const bool po = export_ == form1->ExporttoPO1;
        const std::string name = po ? "t.po" : "t.xlf";
        prompts.choose(path(name));
        export_->trigger();
        std::string file = readFile(name);
        ASSERT_TRUE(contains(file, po ? "msgctxt \"KfxSave\"" : "<trans-unit id=\"KfxSave\"")) << file;
        EXPECT_TRUE(contains(file, "Otw\xC3\xB3rz"));  // UTF-8

        // A translation for the empty row, and the last unit under an id the
        // table does not have.
        if (po) {
            file = testing::replaced(file, "msgid \"Save\"\nmsgstr \"\"", "msgid \"Save\"\nmsgstr \"Zapisz\"");
            file = testing::replaced(file, "msgctxt \"KfxClose\"", "msgctxt \"KfxQuit\"");
        } else {
            file = testing::replaced(file, "<source>Save</source><target state=\"needs-translation\"></target>",
                              "<source>Save</source><target state=\"translated\">Zapisz</target>");
            file = testing::replaced(file, "id=\"KfxClose\"", "id=\"KfxQuit\"");
        }
        writeFile(name, file);
        const int steps = form1->undoStack().index();
        prompts.choose(path(name));
        (po ? form1->ImportPO1 : form1->ImportXLIFF1)->trigger();
        EXPECT_EQ(form1->document().entry(1).dest, "Zapisz");
        EXPECT_EQ(form1->undoStack().index(), steps + 1);
        ASSERT_FALSE(prompts.messages().empty());
        EXPECT_EQ(prompts.messages().back(), QStringLiteral("1 row was imported; 1 problem:\n\nid KfxQuit: not in the document"));
        form1->undoStack().undo();
        EXPECT_EQ(form1->document().entry(1).dest, "");
    }
    for (const Request& r : prompts.requests)
        if (r.kind != Request::Message) {
            EXPECT_TRUE(r.dialog.filter == "XLIFF|*.xlf" || r.dialog.filter == "PO|*.po") << r.dialog.filter.toStdString();
        }

    // Into an emptied table, everything comes back and nothing is to say.
    prompts.choose(path("all.xlf"));
    form1->ExporttoXLIFF1->trigger();
    form1->showRows(kKonfix, rows({"", "", ""}));
    const std::size_t messages = prompts.messages().size();
    prompts.choose(path("all.xlf"));
    form1->ImportXLIFF1->trigger();
    EXPECT_EQ(form1->document().entry(0).dest, "Otw\xF3rz");
    EXPECT_EQ(form1->document().entry(2).dest, "Zamknij %s");
    EXPECT_EQ(prompts.messages().size(), messages);
}

}  // namespace
}  // namespace tov::test
