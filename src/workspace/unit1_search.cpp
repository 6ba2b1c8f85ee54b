// The Search menu (Find, Search again) and File > "Export to text file".
#include "document/text_exchange.h"
#include "support/atomic_file.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit3.h"

namespace tov {

void TForm1::Inbase1Click()
{
    if (!form3_) return;
    // Not modal: an open dialog comes forward.
    form3_->showFind();
}

void TForm1::Searchagain1Click()
{
    // The last search again, with the dialog's settings, without showing it.
    if (!form3_) return;
    if (!form3_->searchText().empty())
        form3_->BitBtn1Click();
    else
        Inbase1Click();
}

void TForm1::Exporttotextfile1Click()
{
    const auto chosen = prompts().saveFile(this, SaveDialog2.request());
    if (!chosen) return;
    const std::string name = pathFromQString(*chosen);
    // The table as it stands, edits included, written as it is made. A
    // table too long to export and a failed write both leave an existing
    // file as it was.
    const TranslationDocument& doc = document();
    const auto produce = [&doc](ByteSink& sink) { exportText(doc, sink); };
    if (doc.size() > kMaxTextRows || !writeFileAtomic(name, produce))
        // The name is the file system's, not a Windows-1250 text.
        prompts().message(this, MsgIcon::Error, pathToQString("Error saving file \"" + name + "\"."), Ok);
}

}  // namespace tov
