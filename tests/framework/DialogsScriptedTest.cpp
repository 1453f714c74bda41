// The scripted dialogs that tests install, and the program's two fixed kinds of message box.
#include <gtest/gtest.h>

#include <QDialog>
#include <stdexcept>

#include "framework/Application.h"
#include "framework/Font.h"
#include "framework/dialogs/ScriptedDialogs.h"

namespace kl {
namespace {

class ScriptedDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle("Kennel Logbook");
    dialogs_ = &InstallScriptedDialogs();
  }
  void TearDown() override { SetDialogs(nullptr); }

  ScriptedDialogs* dialogs_ = nullptr;
};

TEST_F(ScriptedDialogsTest, PlainMessageAndConfirmationAskAsTheProgramShowsThem) {
  dialogs_->QueueMessageResult(MsgResult::No);
  ShowMessage("Text not found");
  EXPECT_EQ(AskConfirmation("Entry was modified! Do you want to save modified entry?"),
            MsgResult::No);

  ASSERT_EQ(dialogs_->Messages().size(), 2u);
  const MessageRequest& plain = dialogs_->Messages()[0];
  EXPECT_EQ(plain.text, "Text not found");
  EXPECT_EQ(plain.caption, "Kennel Logbook");
  EXPECT_EQ(plain.icon, MsgIcon::None);
  EXPECT_EQ(plain.buttons, MsgButtons::Ok);
  EXPECT_EQ(plain.buttonTexts, std::vector<std::string>{"OK"});
  const MessageRequest& question = dialogs_->Messages()[1];
  EXPECT_EQ(question.caption, "Confirm");
  EXPECT_EQ(question.icon, MsgIcon::Question);
  EXPECT_EQ(question.buttons, MsgButtons::YesNo);
  EXPECT_EQ(question.buttonTexts, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_TRUE(dialogs_->AllAnswersUsed());
}

TEST_F(ScriptedDialogsTest, AnswersComeInTheOrderQueued) {
  dialogs_->QueueMessageResult(MsgResult::Yes);
  dialogs_->QueueMessageResult(MsgResult::No);
  dialogs_->QueueInput("Sit and stay");
  dialogs_->QueueInputCancel();
  dialogs_->QueueOpenFile("/tmp/a.klb");
  dialogs_->QueueOpenFileCancel();
  TFont chosen;
  chosen.Name = "Arial";
  chosen.Size = 12;
  dialogs_->QueueFont(chosen);
  dialogs_->QueueFontCancel();
  dialogs_->QueueModalResult(QDialog::Accepted);
  dialogs_->QueuePrinter({"Office", 2, {}});
  dialogs_->QueuePrinterCancel();

  EXPECT_EQ(AskConfirmation("first"), MsgResult::Yes);
  ShowMessage("an OK box takes no queued answer");
  EXPECT_EQ(AskConfirmation("second"), MsgResult::No);
  EXPECT_EQ(Dialogs().InputBox({"Add journal entry title", "Entry title", "", 255}),
            "Sit and stay");
  EXPECT_EQ(Dialogs().InputBox({"Add journal entry title", "Entry title", "default", 255}),
            "default")
      << "cancel answers the default value";
  EXPECT_EQ(Dialogs().OpenFile({}), "/tmp/a.klb");
  EXPECT_EQ(Dialogs().OpenFile({}), std::nullopt);
  TFont font;
  EXPECT_TRUE(Dialogs().ChooseFont(font));
  EXPECT_EQ(font, chosen);
  TFont untouched;
  EXPECT_FALSE(Dialogs().ChooseFont(untouched));
  EXPECT_EQ(untouched, TFont());
  QDialog about;
  about.setObjectName("frmAbout");
  EXPECT_EQ(Dialogs().ExecModal(about), QDialog::Accepted);
  const std::optional<PrintRequest> printer = Dialogs().ChoosePrinter({});
  ASSERT_TRUE(printer.has_value());
  EXPECT_EQ(printer->printerName, "Office");
  EXPECT_EQ(printer->copies, 2);
  EXPECT_FALSE(Dialogs().ChoosePrinter({}).has_value());

  EXPECT_TRUE(dialogs_->AllAnswersUsed());
  EXPECT_EQ(dialogs_->Messages().size(), 3u);
  EXPECT_EQ(dialogs_->Inputs().at(1).defaultValue, "default");
  EXPECT_EQ(dialogs_->Inputs().at(0).maxLength, 255);
  EXPECT_EQ(dialogs_->OpenFiles().size(), 2u);
  EXPECT_EQ(dialogs_->FontsShown().at(0), TFont()) << "the font the dialog was started with";
  EXPECT_EQ(dialogs_->ModalForms(), std::vector<std::string>{"frmAbout"});
}

TEST_F(ScriptedDialogsTest, AQuestionWithoutAQueuedAnswerFailsNamingIt) {
  struct Case {
    const char* expected;
    std::function<void()> ask;
  };
  QDialog form;
  form.setWindowTitle("About Kennel Logbook");
  TFont font;
  OpenFileRequest open;
  open.title = "Select journal entry ...";
  const Case cases[] = {
      {"Entry was modified!", [] { AskConfirmation("Entry was modified!"); }},
      {"Add journal entry title",
       [] {
         Dialogs().InputBox({"Add journal entry title", "", "", 0});
       }},
      {"Select journal entry ...", [&] { Dialogs().OpenFile(open); }},
      {"font dialog", [&] { Dialogs().ChooseFont(font); }},
      {"About Kennel Logbook", [&] { Dialogs().ExecModal(form); }},
      {"print dialog", [] { Dialogs().ChoosePrinter({}); }},
  };
  for (const Case& c : cases) {
    try {
      c.ask();
      ADD_FAILURE() << "no failure for " << c.expected;
    } catch (const std::logic_error& failure) {
      EXPECT_NE(std::string(failure.what()).find(c.expected), std::string::npos) << failure.what();
    }
  }
  EXPECT_EQ(dialogs_->Messages().size(), 1u) << "the unanswered question is still recorded";
}

}  // namespace
}  // namespace kl
