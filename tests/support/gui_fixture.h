// A fresh program directory with the default settings file for every dialog test, with message
// boxes, help, documents and print jobs scripted and recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "core/program_settings.h"
#include "support/core_tempdir.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print_job.h"

#include <QWidget>

namespace vestral::test {

class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The next questions are answered in this order (default: Ja); other boxes are confirmed.
    void answer(toolkit::MsgAnswer a) { answers_.push_back(a); }
    const std::vector<toolkit::MsgRequest>& messages() const { return messages_; }
    QString lastMessage() const { return messages_.empty() ? QString() : messages_.back().text; }
    void clearMessages() { messages_.clear(); }

    const std::vector<toolkit::help::Request>& helpRequests() const { return help_; }
    const std::vector<QString>& opened() const { return opened_; }
    const std::vector<toolkit::PrintJob>& printed() const { return printed_; }

    core::IniFile ini() const { return core::settings().ini(); }
    const std::filesystem::path& dir() const { return dir_.path(); }

    // Runs `body` once the next modal dialog of `cls` (or any, when empty) is shown, then continues.
    static void whenModal(std::function<void(QWidget*)> body, const char* cls = nullptr);

    TempDir dir_;

  private:
    std::deque<toolkit::MsgAnswer> answers_;
    std::vector<toolkit::MsgRequest> messages_;
    std::vector<toolkit::help::Request> help_;
    std::vector<QString> opened_;
    std::vector<toolkit::PrintJob> printed_;
};

// Types text into a widget as a user would, then leaves it with Tab.
void typeInto(QWidget* w, const QString& text, bool leave = true);

template <class T>
T* find(QWidget* root, const char* name) {
    T* w = root->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no widget named " << name;
    return w;
}

}  // namespace vestral::test
