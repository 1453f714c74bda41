// Entries: New, Open, Save, the tree's double-click and in-place rename, and the cases where a
// careless step would lose the user's words.
#include <unistd.h>

#include <QDateTime>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>
#include <cerrno>

#include "framework/Exception.h"
#include "platform/files/SystemCalls.h"
#include "store/EntryDates.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

const char* const OutsideRtf = "{\\rtf1\\ansi Outside {\\b bold} text\\par}";

class MainFormEntries : public MainFormFixture {
 protected:
  QTreeWidgetItem* Root() { return Form().tvEntries->topLevelItem(0); }
  QTreeWidgetItem* Node(int index) { return Root()->child(index); }

  // A double-click on the node, as the mouse gives it: the press selects, then the double-click.
  void DoubleClick(QTreeWidgetItem* node) {
    QTreeWidget& tree = *Form().tvEntries;
    tree.setCurrentItem(node);
    const QPoint at = tree.visualItemRect(node).center();
    QMouseEvent event(QEvent::MouseButtonDblClick, at, tree.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &event);
  }

  // Saves the editor as a new entry under the title.
  void SaveAs(const std::string& title) {
    Asked().QueueInput(title);
    ASSERT_TRUE(Form().actSave->Execute());
  }

  int Count() { return Root()->childCount(); }
};

TEST_F(MainFormEntries, NewStartsWithTheBoldDateLineAndAnEmptyLine) {
  const QDateTime before = QDateTime::currentDateTime();
  Start();
  const QString format = "dddd, dd MMM yyyy hh:mm";
  const std::string text = EditorText();
  const std::string first = text.substr(0, text.find('\r'));
  EXPECT_TRUE(first == QLocale::system().toString(before, format).toStdString() ||
              first ==
                  QLocale::system().toString(QDateTime::currentDateTime(), format).toStdString())
      << first;
  EXPECT_EQ(text, first + "\r\r");
  EXPECT_FALSE(Form().actSave->Enabled());

  // What is typed where New leaves the caret, below the date line, is plain.
  const int caret = Editor().SelectionStart();
  const int dateLength = int(QString::fromStdString(first).size());
  EXPECT_GT(caret, dateLength);
  Type("Sit");
  Editor().SetSelection(0, dateLength, ScrollCaret::No);
  EXPECT_TRUE(Editor().SelectionAttributes().Style().contains(TFontStyle::Bold));
  Editor().SetSelection(caret, caret + 3, ScrollCaret::No);
  EXPECT_TRUE(Editor().SelectionAttributes().Style().empty());
}

TEST_F(MainFormEntries, NewLeavesTheEntryUnmodifiedWithSaveDisabled) {
  Start();
  Type("x");
  Asked().QueueMessageResult(MsgResult::No);
  Form().actNew->Execute();
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Form().actSave->Enabled());
  EXPECT_EQ(Panel(1), "");
}

TEST_F(MainFormEntries, SavingANewEntryRecordsItListsItAndAdoptsIt) {
  Start();
  Type("Sit and stay");
  SaveAs("Sit and stay");
  ASSERT_EQ(EntryFiles().size(), 1);
  const std::string file = JournalPath() + "/" + EntryFiles().front().toStdString();
  EXPECT_TRUE(QFileInfo(QString::fromStdString(file))
                  .fileName()
                  .contains(QRegularExpression("^\\d{14}\\.klb$")));
  EXPECT_EQ(IniText(), "[Journal]\n2=Sit and stay\nCount=2\n[Entries]\n2=" + file + "\n");
  EXPECT_NE(ReadFile(file).find("Sit and stay"), std::string::npos);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Node(0)->text(0), "Sit and stay");
  EXPECT_EQ(Form().CurrentEntry(), 2);
  EXPECT_EQ(Caption(), "Kennel Logbook - Sit and stay");
  EXPECT_EQ(Panel(1), "");
  EXPECT_FALSE(Form().actSave->Enabled());

  // A later save rewrites the same file and records nothing new.
  const std::string index = IniText();
  Type(" again");
  ASSERT_TRUE(Form().actSave->Execute());
  EXPECT_TRUE(Asked().Inputs().size() == 1u);
  EXPECT_EQ(IniText(), index);
  EXPECT_EQ(EntryFiles().size(), 1);
  EXPECT_NE(ReadFile(file).find("again"), std::string::npos);
}

TEST_F(MainFormEntries, BlankOrCancelledTitleGivesTheShortDateAndTime) {
  Start();
  const auto title = [] {
    return QString::fromStdString(
        DefaultEntryTitle(QDateTime::currentDateTime(), QLocale::system()));
  };
  for (bool cancel : {false, true}) {
    Type("x");
    if (cancel)
      Asked().QueueInputCancel();
    else
      Asked().QueueInput("   ");
    const QString before = title();
    ASSERT_TRUE(Form().actSave->Execute());
    const QString saved = Node(Count() - 1)->text(0);
    EXPECT_TRUE(saved == before || saved == title()) << saved.toStdString();
    Form().actNew->Execute();
  }
  EXPECT_EQ(Asked().Inputs().front().caption, "Add journal entry title");
  EXPECT_EQ(Asked().Inputs().front().prompt, "Entry title");
  EXPECT_EQ(Asked().Inputs().front().maxLength, 255);
  EXPECT_EQ(Count(), 2);
}

TEST_F(MainFormEntries, TitleIsStoredExactlyAsTyped) {
  Start();
  Type("x");
  SaveAs("  Heel work  ");
  std::string title;
  GetEntryTitle(2, title);
  EXPECT_EQ(title, "  Heel work  ");
  EXPECT_EQ(Node(0)->text(0), "  Heel work  ");  // the tree is rebuilt from the index
}

TEST_F(MainFormEntries, NewAsksAboutAModifiedEntry) {
  Start();
  Form().actNew->Execute();
  EXPECT_TRUE(Asked().Messages().empty());

  Type("first");
  Asked().QueueMessageResult(MsgResult::No);
  Form().actNew->Execute();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{TfrmMain::ModifiedQuestion});
  EXPECT_EQ(EditorText().find("first"), std::string::npos);
  EXPECT_EQ(Count(), 0);

  Type("second");
  Asked().QueueMessageResult(MsgResult::Yes);
  Asked().QueueInput("Second");
  Form().actNew->Execute();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");
  EXPECT_EQ(EditorText().find("second"), std::string::npos);
}

TEST_F(MainFormEntries, OpeningAnOutsideFileMarksItModifiedAndSavingMakesANewEntry) {
  const std::string outside = Folder() + "outside.rtf";
  WriteFile(outside, OutsideRtf);
  Start();
  Asked().QueueOpenFile(outside);
  Form().actOpen->Execute();
  const OpenFileRequest& asked = Asked().OpenFiles().front();
  EXPECT_EQ(asked.title, "Select journal entry ...");
  EXPECT_EQ(asked.filter,
            "Kennel Logbook (*.klb)|*.klb|Rich Text (*.rtf)|*.rtf|All Files (*.*)|*.*");
  EXPECT_EQ(asked.filterIndex, 1);
  EXPECT_EQ(asked.defaultExt, ".klb");
  EXPECT_EQ(asked.initialDir, JournalPath());
  EXPECT_FALSE(asked.mustExist);
  EXPECT_TRUE(asked.hideReadOnly);

  EXPECT_EQ(EditorText(), "Outside bold text");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Panel(1), "Modified");
  EXPECT_TRUE(Form().actSave->Enabled());
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");
  EXPECT_TRUE(Editor().Focused()) << "typing goes into the opened entry";

  SaveAs("From outside");
  EXPECT_EQ(ReadFile(outside), OutsideRtf);
  EXPECT_EQ(EntryFiles().size(), 1);
  EXPECT_EQ(Form().CurrentEntry(), 2);
  EXPECT_EQ(Caption(), "Kennel Logbook - From outside");
}

TEST_F(MainFormEntries, CancellingTheOpenDialogChangesNothing) {
  Start();
  Type("kept");
  Asked().QueueOpenFileCancel();
  Form().actOpen->Execute();
  EXPECT_NE(EditorText().find("kept"), std::string::npos);
  EXPECT_TRUE(Asked().Messages().empty());
}

// A file that cannot become an entry is refused before anything changes: the words in the
// editor, the entry they belong to and their modified state all stay.
TEST_F(MainFormEntries, OpenRefusesFilesThatCannotBecomeAnEntryAndChangesNothing) {
  const std::string picture = Folder() + "dog.png";
  WriteFile(picture, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const std::string late = Folder() + "late-nul.txt";
  WriteFile(late, std::string(64 * 1024 - 1, 'a') + std::string(1, '\0'));
  Start();
  Type("kept words");
  for (const std::string& path : {picture, late}) {
    Asked().QueueOpenFile(path);
    EXPECT_TRUE(Form().actOpen->Execute());
    EXPECT_EQ(MessageTexts().back(), path + " is not a rich text or text file");
  }
  Asked().QueueOpenFile(Folder() + "missing.klb");
  EXPECT_THROW(Form().actOpen->Execute(), std::exception) << "reported as a failed read";
  EXPECT_NE(EditorText().find("kept words"), std::string::npos);
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Asked().Messages().size(), 2u) << "nothing asked about saving";
}

TEST_F(MainFormEntries, OpenTakesTextWithANulAfterItsFirst64KbAndEmptyFiles) {
  const std::string text = Folder() + "notes.txt";
  WriteFile(text, std::string(64 * 1024, 'a') + std::string(1, '\0') + "b");
  const std::string empty = Folder() + "empty.klb";
  WriteFile(empty, "");
  Start();
  Asked().QueueOpenFile(text);
  Form().actOpen->Execute();
  EXPECT_EQ(EditorText().substr(0, 3), "aaa");
  Asked().QueueOpenFile(empty);
  Asked().QueueMessageResult(MsgResult::No);
  Form().actOpen->Execute();
  EXPECT_EQ(EditorText(), "");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Asked().Messages().size(), 1u) << "only whether to save the first";
}

TEST_F(MainFormEntries, DoubleClickOpensAnEntryAndTheRootOpensNothing) {
  Start();
  Type("Recall at the park");
  SaveAs("Recall");
  Form().actNew->Execute();

  DoubleClick(Root());
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(EditorText().find("Recall"), std::string::npos);

  DoubleClick(Node(0));
  EXPECT_EQ(Form().CurrentEntry(), 2);
  EXPECT_NE(EditorText().find("Recall at the park"), std::string::npos);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Form().actSave->Enabled());
  EXPECT_EQ(Panel(1), "");
  EXPECT_EQ(Caption(), "Kennel Logbook - Recall");
}

TEST_F(MainFormEntries, OpenAndDoubleClickAskBeforeReplacingAModifiedEntry) {
  const std::string outside = Folder() + "outside.rtf";
  WriteFile(outside, OutsideRtf);
  Start();
  Type("first");
  SaveAs("First");

  // Double-click, No: replaced without saving.
  Form().actNew->Execute();
  Type("draft one");
  Asked().QueueMessageResult(MsgResult::No);
  DoubleClick(Node(0));
  EXPECT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(Form().CurrentEntry(), 2);
  EXPECT_EQ(Count(), 1);

  // Open, Yes: the modified entry is saved before the file replaces it.
  Type("more");
  Asked().QueueOpenFile(outside);
  Asked().QueueMessageResult(MsgResult::Yes);
  Form().actOpen->Execute();
  EXPECT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(EditorText(), "Outside bold text");
  EXPECT_EQ(Count(), 1);
  EXPECT_NE(ReadFile(JournalPath() + "/" + EntryFiles().front().toStdString()).find("more"),
            std::string::npos);

  // The outside copy is modified from the start: the double-click asks too.
  Asked().QueueMessageResult(MsgResult::No);
  DoubleClick(Node(0));
  EXPECT_EQ(MessageTexts().size(), 3u);
  EXPECT_NE(EditorText().find("more"), std::string::npos);
}

TEST_F(MainFormEntries, EntryStaysWhenTheSaveBeforeReplacingItFails) {
  Start();
  Type("precious");
  RefuseWritingInJournalFolder();
  Asked().QueueMessageResult(MsgResult::Yes);
  Asked().QueueInput("Precious");
  EXPECT_THROW(Form().actNew->Execute(), std::exception);
  EXPECT_NE(EditorText().find("precious"), std::string::npos);
  EXPECT_TRUE(Editor().Modified());
}

TEST_F(MainFormEntries, FailedSaveRecordsNothingAndKeepsTheEntryModified) {
  Start();
  Type("precious");
  RefuseWritingInJournalFolder();
  Asked().QueueInput("Precious");
  EXPECT_THROW(Form().actSave->Execute(), std::exception);
  EXPECT_EQ(IniText(), "<no index>");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(Count(), 0);
}

TEST_F(MainFormEntries, FailuresBehindADoubleClickAreReportedAndTheWordsStay) {
  PutIni("[Journal]\n2=Ghost\nCount=2\n[Entries]\n2=" + JournalPath() + "/gone.klb\n");
  Start();
  // The entry's file is gone: the mouse gesture reports it like any failed command.
  DoubleClick(Node(0));
  ASSERT_EQ(Asked().Messages().size(), 1u);
  EXPECT_EQ(Asked().Messages().back().icon, MsgIcon::Error);
  EXPECT_NE(MessageTexts().back().find("gone.klb"), std::string::npos);
  EXPECT_EQ(Form().CurrentEntry(), 2);

  // The save the user asks for before the next double-click fails: reported, nothing replaced.
  Type("precious");
  RefuseWritingInJournalFolder();
  Asked().QueueMessageResult(MsgResult::Yes);
  DoubleClick(Node(0));
  ASSERT_EQ(Asked().Messages().size(), 3u);
  EXPECT_EQ(MessageTexts()[1], TfrmMain::ModifiedQuestion);
  EXPECT_EQ(Asked().Messages().back().icon, MsgIcon::Error);
  EXPECT_NE(EditorText().find("precious"), std::string::npos);
  EXPECT_TRUE(Editor().Modified());
}

TEST_F(MainFormEntries, RecordedEntryWhosePathIsGoneOpensFromTheJournalFolder) {
  const std::vector<std::string> stored{"/old/computer/Journals/20240315093000.klb",
                                        "C:\\Program Files\\Kennel\\Journals\\20240315093000.klb"};
  for (const std::string& path : stored) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
    WriteFile(JournalPath() + "/20240315093000.klb", OutsideRtf);
    PutIni("[Journal]\n2=Moved\nCount=2\n[Entries]\n2=" + path + "\n");
    Start();
    DoubleClick(Node(0));
    EXPECT_EQ(EditorText(), "Outside bold text");
    EXPECT_EQ(Caption(), "Kennel Logbook - Moved");
    TearDown();
    SetUp();
  }
}

TEST_F(MainFormEntries, UnreadableRecordedFileIsNotOverwrittenByTheNextSave) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  // A folder where the entry's file should be: there, but no file can be read from it.
  const std::string file = JournalPath() + "/20240315093000.klb";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(file)));
  PutIni("[Journal]\n2=Damaged\nCount=2\n[Entries]\n2=" + file + "\n");
  Start();
  Form().tvEntries->setCurrentItem(Node(0));
  EXPECT_THROW(Form().tvEntriesDblClick(Form().tvEntries), std::exception);
  EXPECT_EQ(EditorText(), "");
  Type("new words");
  SaveAs("Rescued");
  EXPECT_TRUE(QFileInfo(QString::fromStdString(file)).isDir());
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Form().CurrentEntry(), 3);
}

TEST_F(MainFormEntries, RecordedEntryWithoutAPathIsSavedAsANewEntryUnderItsTitle) {
  PutIni("[Journal]\n2=Half recorded\nCount=1\n");
  Start();
  Form().tvEntries->setCurrentItem(Node(0));
  EXPECT_THROW(Form().tvEntriesDblClick(Form().tvEntries), std::exception);
  ASSERT_EQ(Form().CurrentEntry(), 2);
  Type("words worth keeping");
  ASSERT_TRUE(Form().actSave->Execute());
  EXPECT_TRUE(Asked().Inputs().empty());
  EXPECT_FALSE(Editor().Modified());
  ASSERT_EQ(EntryFiles().size(), 1);
  EXPECT_NE(ReadFile(JournalPath() + "/" + EntryFiles().front().toStdString()).find("worth"),
            std::string::npos);
  EXPECT_EQ(Form().CurrentEntry(), 3);
  EXPECT_EQ(Caption(), "Kennel Logbook - Half recorded");
}

TEST_F(MainFormEntries, RenamingInTheTreeFollowsTheRootAndBlankRules) {
  PutIni("[Journal]\n2=Sit\nCount=3\n3=Down\n");
  Start();
  struct Case {
    int node;  // -1: the root
    QString typed;
    QString shown;
    std::string stored;  // entry 2's title in the index afterwards
  };
  const std::vector<Case> cases{
      {-1, "Diary", "Entries", "Sit"},
      {0, "   ", "Sit", "Sit"},
      {0, "", "Sit", "Sit"},
      {0, " Sit pretty ", " Sit pretty ", " Sit pretty "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    QTreeWidgetItem* node = c.node < 0 ? Root() : Node(c.node);
    Form().tvEntries->FinishEdit(node, c.typed);
    EXPECT_EQ(node->text(0), c.shown);
    std::string title;
    GetEntryTitle(2, title);
    EXPECT_EQ(title, c.stored);
  }
  // Another entry's title is not the caption's.
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");
  EXPECT_NE(IniText().find("3=Down\n"), std::string::npos);
}

TEST_F(MainFormEntries, RenamingTheOpenEntryRefreshesTheCaptionAtOnce) {
  Start();
  Type("Sit");
  SaveAs("Sit");
  Form().tvEntries->FinishEdit(Node(0), "Sit pretty");
  EXPECT_EQ(Caption(), "Kennel Logbook - Sit pretty");
}

TEST_F(MainFormEntries, F2StartsTheInPlaceEditAndEnterFinishesIt) {
  PutIni("[Journal]\n2=Sit\nCount=2\n");
  Start();
  QTreeWidget& tree = *Form().tvEntries;
  tree.setFocus();
  tree.setCurrentItem(Node(0));
  PressKey(tree, Qt::Key_F2);
  auto* editor = tree.findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("Sit and stay");
  PressKey(*editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Node(0)->text(0), "Sit and stay");
  EXPECT_NE(IniText().find("2=Sit and stay\n"), std::string::npos);
}

// The disk fails under a save: the failure is the save's ordinary report naming the reason, the
// old file stays whole, no temporary file is left, and the words stay in the editor, modified.
TEST_F(MainFormEntries, ASaveTheDiskDidNotTakeIsReportedAndNothingIsLost) {
  Start();
  Type("first words");
  SaveAs("Sit");
  const std::string path = JournalPath() + "/" + EntryFiles().front().toStdString();
  const std::string before = ReadFile(path);
  const std::string indexBefore = IniText();
  Type("more ");

  files::SystemCalls flushFails = files::RealSystemCalls();
  flushFails.fdatasync = [](int) { return errno = EIO, -1; };
  {
    files::ScopedSystemCalls failing(flushFails);
    try {
      Form().actSave->Execute();
      ADD_FAILURE() << "reported as saved";
    } catch (const Exception& failure) {
      EXPECT_EQ(failure.Message(),
                "Failed to Save Stream. Cannot write file \"" + path + "\". Input/output error");
    }
  }
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_TRUE(Form().actSave->Enabled());

  // A full disk when the new entry is recorded in the index.
  files::SystemCalls indexDiskFull = files::RealSystemCalls();
  indexDiskFull.write = [](int fd, const void* data, size_t size) -> ssize_t {
    const QString name = QFileInfo(QString("/proc/self/fd/%1").arg(fd)).symLinkTarget();
    if (name.contains("journal.ini")) return errno = ENOSPC, -1;
    return ::write(fd, data, size);
  };
  Asked().QueueMessageResult(MsgResult::No);
  Form().actNew->Execute();
  Type("Down");
  {
    files::ScopedSystemCalls failing(indexDiskFull);
    SaveAs("Down");
  }
  EXPECT_EQ(MessageTexts().back(),
            "SaveEntry: Error - Unable to write to " + IniPath() + ". The disk is full");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(IniText(), indexBefore);
  EXPECT_EQ(QDir(QString::fromStdString(JournalPath())).entryList(QDir::Files | QDir::Hidden),
            EntryFiles())
      << "no temporary file is left";
  EXPECT_EQ(EntryFiles().size(), 1);
}

TEST_F(MainFormEntries, EnterOpensTheSelectedEntryAndTypingGoesIntoIt) {
  Start();
  Type("Heel");
  SaveAs("Heel");
  Form().actNew->Execute();
  EXPECT_TRUE(Editor().Focused()) << "after New";

  QTreeWidget& tree = *Form().tvEntries;
  tree.setFocus();
  tree.setCurrentItem(Node(0));
  PressKey(tree, Qt::Key_Return);
  EXPECT_EQ(Form().CurrentEntry(), 2);
  EXPECT_TRUE(Editor().Focused()) << "after opening from the tree";
  Type("Z");
  EXPECT_NE(EditorText().find('Z'), std::string::npos) << "not the tree's type-ahead";

  Asked().QueueMessageResult(MsgResult::No);
  Form().actNew->Execute();
  tree.setFocus();
  DoubleClick(Node(0));
  EXPECT_TRUE(Editor().Focused()) << "after a double-click";
  tree.setCurrentItem(Root());
  tree.setFocus();
  PressKey(tree, Qt::Key_Return);
  EXPECT_EQ(Form().CurrentEntry(), 2) << "Enter on the root opens nothing";
}

TEST_F(MainFormEntries, ToolTipsNameTheJournalFolderAndShowCutTitlesWhole) {
  const std::string longTitle = "Recall at the park with the long line and two other dogs";
  PutIni("[Journal]\n2=Sit\nCount=3\n3=" + longTitle + "\n");
  Start();
  EXPECT_EQ(Root()->toolTip(0).toStdString(), JournalPath());

  QTreeWidget& tree = *Form().tvEntries;
  const auto toolTipAt = [&](QTreeWidgetItem* node) {
    const QPoint at = tree.visualItemRect(node).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
  };
  EXPECT_EQ(toolTipAt(Node(0)), "") << "a title shown whole needs no tool tip";
  EXPECT_EQ(toolTipAt(Node(1)), longTitle) << "cut short by the pane";
  EXPECT_EQ(toolTipAt(Root()), JournalPath());
}

// A program folder copied elsewhere (a USB stick, a backup) keeps the original's full paths in
// its index; it must edit its own files only.
TEST_F(MainFormEntries, ACopiedJournalEditsOnlyItsOwnFiles) {
  QTemporaryDir original;
  const std::string originalFile = original.path().toStdString() + "/Journals/20240315093000.klb";
  ASSERT_TRUE(QDir(original.path()).mkdir("Journals"));
  WriteFile(originalFile, OutsideRtf);
  const std::string index = "[Journal]\n2=Sit\nCount=2\n[Entries]\n2=" + originalFile + "\n";
  PutIni(index);
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
  WriteFile(JournalPath() + "/20240315093000.klb", OutsideRtf);

  Start();
  DoubleClick(Node(0));
  Type("copy only ");
  ASSERT_TRUE(Form().actSave->Execute());
  EXPECT_EQ(ReadFile(originalFile), OutsideRtf) << "the original journal is untouched";
  EXPECT_NE(ReadFile(JournalPath() + "/20240315093000.klb").find("copy only"), std::string::npos);
  EXPECT_EQ(IniText(), index) << "the index is not rewritten for it";

  // When the copy lacks the file, the entry cannot be opened: the other journal's file is
  // never shown in its place.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(JournalPath() + "/20240315093000.klb")));
  Form().actNew->Execute();
  Form().tvEntries->setCurrentItem(Node(0));
  EXPECT_THROW(Form().tvEntriesDblClick(Form().tvEntries), std::exception);
  EXPECT_EQ(EditorText().find("Outside"), std::string::npos);
}

}  // namespace
}  // namespace kl::testing
