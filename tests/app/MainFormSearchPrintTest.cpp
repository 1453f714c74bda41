// Find, Find Next, Replace and Print from the main window, through their shortcuts, the
// editor's dialogs and the scripted print dialog.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTemporaryDir>

#include "framework/dialogs/FindDialog.h"
#include "framework/printer/Printer.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

class MainFormSearchPrintTest : public MainFormFixture {
 protected:
  void TearDown() override {
    MainFormFixture::TearDown();
    SetPrinter(nullptr);
  }
  // Presses a shortcut in the editor as the keyboard does.
  void Shortcut(Qt::Key key) {
    EXPECT_TRUE(PressKey(EditorWindow(), key, Qt::ControlModifier)) << key;
  }
  static void Press(TFindDialog* dialog, const char* name) {
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->Handle(), nullptr);
    dialog->Handle()->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  static void Type(TFindDialog* dialog, const char* field, const char* text) {
    dialog->Handle()
        ->findChild<QLineEdit*>(QString::fromLatin1(field))
        ->setText(QString::fromUtf8(text));
  }
  void StartWith(const std::string& text) {
    Start();
    Editor().SetText(text);
    Editor().SetSelection(0, 0, ScrollCaret::No);
    Editor().SetFocus();
  }
};

TEST_F(MainFormSearchPrintTest, FindAndFindNextSelectEachHitAndAMissIsToldWithTheText) {
  StartWith("sit, stay, sit");
  Shortcut(Qt::Key_H);  // before any search: nothing
  EXPECT_TRUE(MessageTexts().empty());
  Shortcut(Qt::Key_F);
  TFindDialog* find = Editor().OwnFindDialog();
  Type(find, "findText", "sit");
  Press(find, "findNext");
  EXPECT_EQ(Editor().SelectedText(), "sit");
  EXPECT_EQ(Editor().SelectionStart(), 0);
  Editor().SetFocus();
  Shortcut(Qt::Key_H);
  EXPECT_EQ(Editor().SelectionStart(), 11);
  Shortcut(Qt::Key_H);
  EXPECT_EQ(Editor().SelectionStart(), 11);  // the miss selects nothing anew
  ASSERT_EQ(MessageTexts(), std::vector<std::string>{"Search string \"sit\" not found!"});
  const MessageRequest& message = Asked().Messages().back();
  EXPECT_EQ(message.caption, "Kennel Logbook");
  EXPECT_EQ(message.icon, MsgIcon::None);
  EXPECT_NE(find->Handle(), nullptr);  // the dialog stays open
  Shortcut(Qt::Key_F);                 // Find again only brings it to the front
  EXPECT_EQ(find->FindText(), "sit");
}

TEST_F(MainFormSearchPrintTest, ReplaceAllFromTheReplaceDialogMarksTheEntryModified) {
  StartWith("heel, heel");
  Editor().SetModified(false);
  Form().UpdateModifiedStatus();
  Shortcut(Qt::Key_R);
  TFindDialog* replace = Editor().OwnReplaceDialog();
  Type(replace, "findText", "heel");
  Type(replace, "replaceText", "come");
  Press(replace, "replaceAll");
  EXPECT_EQ(EditorText(), "come, come");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_TRUE(Form().actSave->Enabled());
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(MainFormSearchPrintTest, PrintWritesTheEntryUnderItsTitleAndACancelPrintsNothing) {
  QTemporaryDir out;
  const std::string pdf = out.filePath("entry.pdf").toStdString();
  StartWith("Down and stay");
  Editor().SetModified(false);
  Asked().QueuePrinterCancel();
  Shortcut(Qt::Key_P);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
  Asked().QueuePrinter({"", 1, pdf});
  Shortcut(Qt::Key_P);
  EXPECT_EQ(Printer().Title(), "Untitled");
  EXPECT_TRUE(ReadFile(pdf).starts_with("%PDF"));
  EXPECT_FALSE(Editor().Modified());
  EXPECT_TRUE(MessageTexts().empty());
  // A file that cannot be written is reported, and the entry stays as it was.
  Asked().QueuePrinter({"", 1, out.filePath("missing/entry.pdf").toStdString()});
  Shortcut(Qt::Key_P);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("could not start the job"), std::string::npos);
  EXPECT_EQ(EditorText(), "Down and stay");
}

}  // namespace
}  // namespace kl::testing
