// A program folder in a temporary directory with the three windows built on
// it, answering dialogs from a script.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <memory>
#include <string>

#include "support/atomic_file.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"
#include "workspace/unit3.h"

namespace tov::test {

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir_.path();
        ini = folder + "tovrana.ini";
        // Temporary files (the C templates) go to a folder of the test.
        hadTmp_ = qEnvironmentVariableIsSet("TMPDIR");
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", QByteArray::fromStdString(folder));
    }
    void TearDown() override
    {
        // Windows are closed without the closing steps.
        form2.reset();
        if (form1) form1->hide();
        form1.reset();
    }
    ~WorkspaceTest() override
    {
        if (hadTmp_) qputenv("TMPDIR", oldTmp_);
        else qunsetenv("TMPDIR");
    }

    // Builds the windows as the program does at start.
    void start()
    {
        form1 = std::make_unique<TForm1>(folder, ini, prompts);
        form2 = std::make_unique<TForm2>(*form1);
        form3 = new TForm3(*form1);
        form1->show();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }

    void writeFile(const std::string& relative, const std::string& bytes)
    {
        const std::string path = folder + relative;
        const size_t slash = path.rfind('/');
        QDir().mkpath(QString::fromStdString(path.substr(0, slash)));
        ASSERT_TRUE(writeFileAtomic(path, bytes).ok) << path;
    }
    std::string readFile(const std::string& relative) const { return testing::readBytes(folder + relative); }
    // A file of the program folder as the dialogs show it.
    QString path(const std::string& relative) const { return pathToQString(folder + relative); }
    std::string setting(const char* key) const { return Settings(ini).file(key); }

    // The entries of a drop-down list, in its order.
    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
    // A cell of the translation table as the window shows it.
    std::string cell(int c, int r) const { return form1->SG1->cell(c, r); }
    const TranslationDocument& doc() const { return form1->document(); }
    // The destination text of table row r (from 1) as typed into it: one
    // step of the undo stack.
    void edit(int r, const std::string& text)
    {
        form1->pushEdit(SetDestinations::one(form1->document(), r - 1, text));
    }
    // The working table of the format in use.
    TextGrid& work() { return form1->format().workingTable(); }

    testing::TempFolder dir_;
    bool hadTmp_ = false;
    QByteArray oldTmp_;
    std::string folder;  // with its closing "/"
    std::string ini;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    TForm3* form3 = nullptr;  // owned by form1
};

}  // namespace tov::test
