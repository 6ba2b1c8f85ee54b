// Prompts for tests: every request is recorded, every answer comes from a
// queue the test filled beforehand. A request with no answer left fails the
// test and is answered with Cancel.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "workspace/prompts.h"

namespace tov::test {

struct Request {
    enum Kind { Open, Save, Font, Message, Terminate } kind;
    FileDialogRequest dialog;  // Open, Save
    QString text;              // Message
    MsgIcon icon = MsgIcon::Information;
    unsigned buttons = 0;
    int exitCode = 0;
};

class ScriptedPrompts : public Prompts {
public:
    struct CancelAnswer {};
    using Answer = std::variant<CancelAnswer, QString, MsgButton, QFont>;

    // Queue answers in the order the prompts will come.
    void choose(const QString& path) { answers.emplace_back(path); }
    void cancel() { answers.emplace_back(CancelAnswer{}); }
    void press(MsgButton button) { answers.emplace_back(button); }
    void pickFont(const QFont& font) { answers.emplace_back(font); }

    std::optional<QString> openFile(QWidget*, const FileDialogRequest& request) override
    {
        requests.push_back({Request::Open, request, {}, MsgIcon::Information, 0, 0});
        return fileAnswer("open dialog");
    }
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest& request) override
    {
        requests.push_back({Request::Save, request, {}, MsgIcon::Information, 0, 0});
        return fileAnswer("save dialog");
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override
    {
        Request r{Request::Font, {}, initial.family(), MsgIcon::Information, 0, 0};
        requests.push_back(r);
        Answer a = next("font dialog");
        if (auto* f = std::get_if<QFont>(&a)) return *f;
        return std::nullopt;
    }
    MsgButton message(QWidget*, MsgIcon icon, const QString& text, unsigned buttons) override
    {
        requests.push_back({Request::Message, {}, text, icon, buttons, 0});
        Answer a = next(("message \"" + text + "\"").toStdString());
        if (auto* b = std::get_if<MsgButton>(&a)) return *b;
        // A box with only OK needs no scripted answer.
        return buttons == Ok ? Ok : Cancel;
    }
    void terminate(int exitCode) override
    {
        requests.push_back({Request::Terminate, {}, {}, MsgIcon::Information, 0, exitCode});
        terminated = true;
    }

    // Messages shown so far, in order.
    std::vector<QString> messages() const
    {
        std::vector<QString> out;
        for (const auto& r : requests)
            if (r.kind == Request::Message) out.push_back(r.text);
        return out;
    }
    std::vector<Request> ofKind(Request::Kind k) const
    {
        std::vector<Request> out;
        for (const auto& r : requests)
            if (r.kind == k) out.push_back(r);
        return out;
    }
    bool allAnswered() const { return answers.empty(); }

    std::deque<Answer> answers;
    std::vector<Request> requests;
    bool terminated = false;

private:
    Answer next(const std::string& what)
    {
        if (answers.empty()) {
            // OK-only message boxes may go unanswered; everything else is scripted.
            if (what.rfind("message", 0) != 0) ADD_FAILURE() << "unexpected " << what;
            return CancelAnswer{};
        }
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> fileAnswer(const char* what)
    {
        Answer a = next(what);
        if (auto* s = std::get_if<QString>(&a)) return *s;
        return std::nullopt;
    }
};

}  // namespace tov::test
