#pragma once
// Prompts that answer from a queue the test fills beforehand. A question the test did not
// queue, or one of another kind than the next queued answer, fails the test; so does an
// answer left unused when the object goes away.

#include "services/prompts.h"

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace lavodc::testing {

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Info, Confirm, SaveQuestion, OpenFile, SaveFile, Error, Message };

    ~ScriptedPrompts() override
    {
        for (const Step& step : script_)
            ADD_FAILURE() << "queued answer never asked for: " << kindName(step.kind);
    }

    // Queue the answers, in the order the questions will come.
    void expectInfo() { queue(Kind::Info); }
    void expectConfirm(bool yes) { queue(Kind::Confirm).confirm = yes; }
    void expectSaveQuestion(SaveAnswer answer) { queue(Kind::SaveQuestion).saveAnswer = answer; }
    // std::nullopt: the user cancels the dialog.
    void expectOpenFile(std::optional<QString> path) { queue(Kind::OpenFile).path = std::move(path); }
    void expectSaveFile(std::optional<QString> path) { queue(Kind::SaveFile).path = std::move(path); }
    void expectError() { queue(Kind::Error); }
    void expectMessage() { queue(Kind::Message); }

    bool allAnswered() const { return script_.empty(); }

    // What was shown, in order: the texts of boxes and questions, the dialogs' requests.
    std::vector<QString> texts;
    std::vector<FileDialogRequest> dialogs;
    std::vector<QString> errors;
    int beeps = 0;

    void InfoBox(const QString& text) override
    {
        texts.push_back(text);
        next(Kind::Info, text);
    }
    bool ConfirmBox(const QString& text) override
    {
        texts.push_back(text);
        const Step* step = next(Kind::Confirm, text);
        return step && step->confirm;
    }
    SaveAnswer AskSaveChanges(const QString& text) override
    {
        texts.push_back(text);
        const Step* step = next(Kind::SaveQuestion, text);
        return step ? step->saveAnswer : SaveAnswer::Cancel;
    }
    std::optional<QString> OpenFileName(const FileDialogRequest& request) override
    {
        dialogs.push_back(request);
        const Step* step = next(Kind::OpenFile, request.title);
        return step ? step->path : std::nullopt;
    }
    std::optional<QString> SaveFileName(const FileDialogRequest& request) override
    {
        dialogs.push_back(request);
        const Step* step = next(Kind::SaveFile, request.title);
        return step ? step->path : std::nullopt;
    }
    void ErrorBox(const QString& errorText) override
    {
        errors.push_back(errorText);
        next(Kind::Error, errorText);
    }
    void MessageBox(const QString& caption, const QString& text) override
    {
        texts.push_back(text);
        next(Kind::Message, caption + QStringLiteral(": ") + text);
    }
    void Beep() override { ++beeps; }

private:
    struct Step {
        Kind kind = Kind::Info;
        bool confirm = false;
        SaveAnswer saveAnswer = SaveAnswer::Cancel;
        std::optional<QString> path;
    };

    Step& queue(Kind kind)
    {
        script_.emplace_back();
        script_.back().kind = kind;
        return script_.back();
    }

    static const char* kindName(Kind kind)
    {
        switch (kind) {
        case Kind::Info: return "information box";
        case Kind::Confirm: return "confirmation";
        case Kind::SaveQuestion: return "save question";
        case Kind::OpenFile: return "open-file dialog";
        case Kind::SaveFile: return "save-file dialog";
        case Kind::Error: return "error box";
        case Kind::Message: return "message box";
        }
        return "?";
    }

    // The step answering this question, or nullptr (and a test failure) when none was queued.
    const Step* next(Kind kind, const QString& text)
    {
        if (script_.empty() || script_.front().kind != kind) {
            ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << text.toStdString()
                          << (script_.empty() ? std::string(" (nothing queued)")
                                              : std::string(" (expected ") + kindName(script_.front().kind) + ")");
            return nullptr;
        }
        answered_ = std::move(script_.front());
        script_.pop_front();
        return &answered_;
    }

    Step answered_;
    std::deque<Step> script_;
};

} // namespace lavodc::testing
