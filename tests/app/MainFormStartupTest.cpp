// Start-up, the window's arrangement, the caption refresh and closing.
#include <QDateTime>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>

#include "app/EntryTree.h"
#include "app/ToolBar.h"
#include "app/SearchField.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

using MainFormStartup = MainFormFixture;

TEST_F(MainFormStartup, FirstStartInAnEmptyFolderOpensAFreshUntitledEntry) {
  Start();
  EXPECT_EQ(Asked().ModalForms(), std::vector<std::string>{"frmAbout"});
  EXPECT_TRUE(QDir(QString::fromStdString(JournalPath())).exists());
  ASSERT_EQ(Form().tvEntries->topLevelItemCount(), 1);
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->text(0), "Entries");
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->childCount(), 0);
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");
  EXPECT_EQ(Panel(1), "");
  EXPECT_EQ(Panel(2), "");
  EXPECT_FALSE(Form().actSave->Enabled());
  EXPECT_FALSE(Editor().Modified());
  EXPECT_TRUE(Editor().Focused());
  EXPECT_TRUE(MessageTexts().empty());
  // Nothing is written until the first save.
  EXPECT_EQ(IniText(), "<no index>");
}

TEST_F(MainFormStartup, ListsTheEntriesOfTheIndexInCreationOrder) {
  PutIni(
      "[Journal]\n2=Sit and stay\nCount=4\n4=Recall at the park\nabc=x\n0=zero\n-3=minus\n"
      "3=Heel\n[Entries]\n2=/nowhere/a.klb\n");
  Start();
  QTreeWidgetItem* root = Form().tvEntries->topLevelItem(0);
  ASSERT_EQ(root->childCount(), 3);
  EXPECT_TRUE(root->isExpanded());
  const std::vector<std::pair<QString, int>> expected{
      {"Sit and stay", 2}, {"Recall at the park", 4}, {"Heel", 3}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(root->child(i)->text(0), expected[std::size_t(i)].first);
    EXPECT_EQ(TEntryTree::NodeData(root->child(i)), expected[std::size_t(i)].second);
  }
}

// A damaged index is reported at start, copied aside whatever the answer, and rebuilt on Yes
// with every entry back in the tree.
TEST_F(MainFormStartup, DamagedIndexIsReportedCopiedAndRebuiltOnYes) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  WriteFile(JournalPath() + "/20240315093000.klb", "{\\rtf1 Sit and stay\\par}");
  WriteFile(JournalPath() + "/20240316181205.klb", "{\\rtf1 Recall\\par}");
  const std::string damaged("[Journal]\r\n2=Sit\0\0\0\r\n", 19);
  WriteFile(IniPath(), damaged);
  Asked().QueueMessageResult(MsgResult::Yes);
  Start();
  ASSERT_EQ(Asked().Messages().size(), 1u);
  const MessageRequest& asked = Asked().Messages().front();
  EXPECT_EQ(
      asked.text.rfind("The journal index " + IniPath() + " is damaged. A copy of it is kept as " +
                           Folder() + "journal.ini.damaged-",
                       0),
      0u)
      << asked.text;
  EXPECT_EQ(asked.buttonTexts, (std::vector<std::string>{"&Yes", "&No"}));
  QTreeWidgetItem* root = Form().tvEntries->topLevelItem(0);
  ASSERT_EQ(root->childCount(), 2);
  EXPECT_EQ(root->child(0)->text(0), "Sit and stay");
  EXPECT_EQ(root->child(1)->text(0), "Recall");
  const QStringList copies =
      QDir(QString::fromStdString(Folder())).entryList({"journal.ini.damaged-*"}, QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  EXPECT_EQ(ReadFile(Folder() + copies.front().toStdString()),
            std::string("[Journal]\n2=Sit\0\0\0", 18))
      << "the copy keeps the damaged bytes";
}

TEST_F(MainFormStartup, DamagedIndexSetAsideOnNoStartsEmptyAndTheFirstSaveWritesAFreshOne) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  WriteFile(JournalPath() + "/20240315093000.klb", "{\\rtf1 Sit and stay\\par}");
  PutIni("Sit and stay\nRecall\n");  // no sections at all
  Asked().QueueMessageResult(MsgResult::No);
  Start();
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->childCount(), 0);
  Type("Heel");
  Asked().QueueInput("Heel");
  ASSERT_TRUE(Form().actSave->Execute());
  EXPECT_EQ(IniText().find("Recall"), std::string::npos) << "a fresh index";
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->childCount(), 1);
  const QStringList copies =
      QDir(QString::fromStdString(Folder())).entryList({"journal.ini.damaged-*"}, QDir::Files);
  ASSERT_EQ(copies.size(), 1);
  EXPECT_EQ(ReadFile(Folder() + copies.front().toStdString()), "Sit and stay\nRecall\n");
  EXPECT_EQ(EntryFiles().size(), 2) << "every entry file stays";
}

TEST_F(MainFormStartup, IndexWithCrOnlyLineEndsIsHealthy) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  WriteFile(JournalPath() + "/20240315093000.klb", "{\\rtf1 Sit\\par}");
  WriteFile(IniPath(),
            "[Journal]\r2=Sit\rCount=2\r[Entries]\r2=" + JournalPath() + "/20240315093000.klb\r");
  Start();
  EXPECT_TRUE(Asked().Messages().empty());
  ASSERT_EQ(Form().tvEntries->topLevelItem(0)->childCount(), 1);
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->child(0)->text(0), "Sit");
}

// A program killed between writing a file and renaming it leaves a temporary file; a later
// start removes it once it is an hour old, and never takes it for an entry.
TEST_F(MainFormStartup, StaleTemporaryFilesOfASaveAreRemovedAtStart) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  const std::string stale = JournalPath() + "/.20240315093000.klb.klsave-Ab12Cd";
  const std::string fresh = Folder() + ".journal.ini.klsave-Xy34Zw";
  WriteFile(stale, "{\\rtf1 half}");
  WriteFile(fresh, "[Journal]");
  QFile old(QString::fromStdString(stale));
  ASSERT_TRUE(old.open(QIODevice::ReadWrite));
  ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-2 * 3600),
                              QFileDevice::FileModificationTime));
  old.close();
  Start();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(stale)));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(fresh))) << "another program may be writing it";
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->childCount(), 0);
}

TEST_F(MainFormStartup, JournalsFolderThatCannotBeMadeIsReportedAndTheWindowStillOpens) {
  WriteFile(JournalPath(), "in the way");
  Start();
  ASSERT_EQ(Asked().Messages().size(), 1u);
  const MessageRequest& report = Asked().Messages().front();
  EXPECT_EQ(report.text, "I/O error " + std::to_string(EEXIST) + ".");
  EXPECT_EQ(report.caption, "Kennel Logbook");
  EXPECT_EQ(report.icon, MsgIcon::Error);
  EXPECT_EQ(Form().tvEntries->topLevelItem(0)->text(0), "Entries");
  EXPECT_EQ(Form().CurrentEntry(), 0);
  EXPECT_EQ(EditorText(), "");
  EXPECT_EQ(Caption(), "Kennel Logbook");
}

TEST_F(MainFormStartup, ControlsStandWhereTheWindowPutsThem) {
  Start();
  TfrmMain& form = Form();
  EXPECT_EQ(form.size(), QSize(725, 512));
  EXPECT_EQ(form.pnlTop->height(), 49);
  EXPECT_EQ(form.pnlTop->width(), 725);
  EXPECT_EQ(form.pnlImages->width(), 375);
  EXPECT_EQ(form.pnlImages->geometry().right(), 724);
  EXPECT_EQ(form.imgLogos->size(), QSize(205, 49));
  EXPECT_EQ(form.imgRecom->size(), QSize(149, 49));
  EXPECT_EQ(form.imgLogos->pixmap().size(), QSize(205, 37));
  EXPECT_EQ(form.imgRecom->pixmap().size(), QSize(149, 37));
  EXPECT_EQ(form.imgLogos->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.pnlRight->width(), 8);
  EXPECT_EQ(form.pnlRight->geometry().right(), 374);
  EXPECT_EQ(form.stbMain->height(), 19);
  EXPECT_EQ(form.stbMain->mapTo(&form, QPoint(0, 0)).y(), 512 - 19);
  EXPECT_EQ(form.stbMain->Count(), 3);
  EXPECT_EQ(form.stbMain->Panel(0)->width(), 120);
  EXPECT_EQ(form.stbMain->Panel(1)->width(), 60);
  EXPECT_EQ(form.stbMain->Panel(2)->width(), 50);

  // From the left: formatting tool bar, tree, splitter, editor.
  const int toolbarX = form.tlbMaintoolbar->mapTo(&form, QPoint(0, 0)).x();
  const int treeX = form.tvEntries->mapTo(&form, QPoint(0, 0)).x();
  const int editorX = form.rchMain->mapTo(&form, QPoint(0, 0)).x();
  EXPECT_EQ(toolbarX, 0);
  EXPECT_EQ(form.tlbMaintoolbar->width(), 23);
  EXPECT_EQ(treeX, 23);
  EXPECT_EQ(form.tvEntries->width(), 157);
  EXPECT_EQ(editorX, 23 + 157 + 6);
  EXPECT_EQ(form.rchMain->width(), 725 - editorX);
  EXPECT_EQ(form.tvEntries->indentation(), 19);

  // Only the tree and the editor take the focus, the tree first; beside them the search field
  // above the tree, which Ctrl+E reaches.
  QWidget* next = form.tvEntries->nextInFocusChain();
  while (next != &form && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  EXPECT_TRUE(next == form.rchMain || form.rchMain->isAncestorOf(next));
  for (QWidget* child : form.findChildren<QWidget*>()) {
    if (child == form.tvEntries || form.tvEntries->isAncestorOf(child) || child == form.rchMain ||
        form.rchMain->isAncestorOf(child) || child == static_cast<QWidget*>(form.edtSearch))
      continue;
    EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
  }
}

TEST_F(MainFormStartup, TypingRefreshesTheMarkSaveAndCaptionAtOnceButMovingTheCaretDoesNot) {
  PutIni("[Journal]\n2=Walk\nCount=2\n");
  Start();
  Type("x");
  EXPECT_EQ(Panel(1), "Modified");
  EXPECT_TRUE(Form().actSave->Enabled());
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");

  // A caret move alone leaves the last refresh standing.
  Editor().SetModified(false);
  PressKey(EditorWindow(), Qt::Key_Home);
  EXPECT_EQ(Panel(1), "Modified");
  EXPECT_TRUE(Form().actSave->Enabled());
}

TEST_F(MainFormStartup, ClosingUnmodifiedAsksNothing) {
  Start();
  EXPECT_TRUE(Form().close());
  EXPECT_TRUE(Asked().Messages().empty());
}

TEST_F(MainFormStartup, ClosingModifiedAndAnsweringNoClosesWithoutSaving) {
  Start();
  Type("Good dog");
  Asked().QueueMessageResult(MsgResult::No);
  EXPECT_TRUE(Form().close());
  ASSERT_EQ(Asked().Messages().size(), 1u);
  const MessageRequest& question = Asked().Messages().front();
  EXPECT_EQ(question.text, "Entry was modified! Do you want to save modified entry?");
  EXPECT_EQ(question.caption, "Confirm");
  EXPECT_EQ(question.icon, MsgIcon::Question);
  EXPECT_EQ(question.buttonTexts, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_TRUE(EntryFiles().isEmpty());
}

TEST_F(MainFormStartup, ClosingModifiedAndAnsweringYesAsksTheTitleAndSaves) {
  Start();
  Type("Good dog");
  Asked().QueueMessageResult(MsgResult::Yes);
  Asked().QueueInput("Evening walk");
  EXPECT_TRUE(Form().close());
  EXPECT_EQ(EntryFiles().size(), 1);
  EXPECT_NE(IniText().find("2=Evening walk"), std::string::npos);
}

TEST_F(MainFormStartup, CloseCommandSavesFirstAndDoesNotAskAgain) {
  Start();
  Type("Good dog");
  Asked().QueueInput("Evening walk");
  Form().actExit->Execute();
  EXPECT_FALSE(Form().isVisible());
  EXPECT_TRUE(Asked().Messages().empty());
  EXPECT_EQ(EntryFiles().size(), 1);
}

TEST_F(MainFormStartup, FormattingAloneStillGetsSavedWhenTheUserAnswersYesOnClosing) {
  Start();
  Editor().SelectAll();
  Form().actBold->Execute();  // changes formatting, raises no change event
  ASSERT_TRUE(Editor().Modified());
  Asked().QueueMessageResult(MsgResult::Yes);
  Asked().QueueInput("Bold day");
  EXPECT_TRUE(Form().close());
  EXPECT_EQ(EntryFiles().size(), 1);
}

TEST_F(MainFormStartup, WindowStaysOpenWhenTheSaveOnClosingFails) {
  Start();
  Type("Do not lose me");
  RefuseWritingInJournalFolder();
  Asked().QueueMessageResult(MsgResult::Yes);
  Asked().QueueInput("Kept");
  EXPECT_FALSE(Form().close());
  EXPECT_TRUE(Form().isVisible());
  EXPECT_TRUE(Editor().Modified());
  EXPECT_NE(EditorText().find("Do not lose me"), std::string::npos);
  EXPECT_EQ(Asked().Messages().back().icon, MsgIcon::Error);
  EXPECT_EQ(IniText(), "<no index>");
}

}  // namespace
}  // namespace kl::testing
