// Searching the journal from the window: the field above the tree, the filtered tree, opening a
// found entry on its first match, and the index following saves and renames.
#include <QElapsedTimer>
#include <QLabel>

#include "app/SearchField.h"
#include "search/JournalSearch.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

class MainFormSearch : public MainFormFixture {
 protected:
  // A journal of three entries, then the window, once the index has caught up with it.
  void StartWithJournal() {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
    PutEntryFile(2, "Sit by the door.\\par The vet looked at the left paw.");
    PutEntryFile(3, "Recall at the lake.");
    PutEntryFile(4, "Paw cream after the walk; paw is better.");
    PutIni("[Journal]\n2=Monday\nCount=4\n3=Lake day\n4=Paw care\n[Entries]\n2=" + EntryPath(2) +
           "\n3=" + EntryPath(3) + "\n4=" + EntryPath(4) + "\n");
    Start();
    WaitForIndex();
  }

  std::string EntryPath(int number) const {
    return JournalPath() + "/2024010" + std::to_string(number) + "120000.klb";
  }
  void PutEntryFile(int number, const std::string& body) const {
    WriteFile(EntryPath(number), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "\\par}");
  }

  void WaitForIndex() {
    QElapsedTimer timer;
    timer.start();
    while (Form().JournalSearch().Indexing() && timer.elapsed() < 20000)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    Form().JournalSearch().WaitForWrites();
    QApplication::processEvents();
  }

  void Search(const QString& text) { Form().edtSearch->setText(text); }

  // The titles under the root, top to bottom.
  std::vector<std::string> Listed() {
    std::vector<std::string> titles;
    QTreeWidgetItem* root = Form().tvEntries->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
      titles.push_back(root->child(i)->text(0).toStdString());
    return titles;
  }

  void Open(int row) {
    Form().tvEntries->setCurrentItem(Form().tvEntries->topLevelItem(0)->child(row));
    PressKey(*Form().tvEntries, Qt::Key_Return);
  }
};

TEST_F(MainFormSearch, TypingFiltersTheTreeBestFirstAndClearingRestoresIt) {
  StartWithJournal();
  Search("paw");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Paw care", "Monday"}));
  EXPECT_EQ(Form().edtSearch->Count(), "2");
  Search("nothing-like-this");
  EXPECT_TRUE(Listed().empty());
  EXPECT_EQ(Form().edtSearch->Count(), "0");

  Form().edtSearch->setFocus();
  PressKey(*Form().edtSearch, Qt::Key_Escape);
  EXPECT_EQ(Form().edtSearch->text(), "");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Monday", "Lake day", "Paw care"}));
  EXPECT_TRUE(Editor().Focused());
}

TEST_F(MainFormSearch, ShortcutsPutTheFocusInTheField) {
  StartWithJournal();
  for (const Qt::KeyboardModifiers mods :
       {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
    Editor().SetFocus();
    const int key = mods & Qt::ShiftModifier ? Qt::Key_F : Qt::Key_E;
    EXPECT_TRUE(PressKey(EditorWindow(), key, mods));
    EXPECT_TRUE(Form().edtSearch->hasFocus());
  }
}

TEST_F(MainFormSearch, OpeningAFoundEntrySelectsItsFirstMatch) {
  StartWithJournal();
  Search("PAW");
  Open(1);  // "Monday": the word is in its second paragraph
  EXPECT_EQ(Form().CurrentEntry(), 2);
  const std::string text = EditorText();
  const int expected = int(QString::fromStdString(text).indexOf("paw"));
  EXPECT_EQ(Editor().SelectionStart(), expected);
  EXPECT_EQ(Editor().SelectedText(), "paw");
  EXPECT_FALSE(Editor().Modified());

  // Enter in the field opens the best match.
  Form().edtSearch->setFocus();
  PressKey(*Form().edtSearch, Qt::Key_Return);
  EXPECT_EQ(Form().CurrentEntry(), 4);
  EXPECT_EQ(Editor().SelectionStart(), 0);
  EXPECT_EQ(Editor().SelectionLength(), 3);
}

TEST_F(MainFormSearch, SavedAndRenamedEntriesAreFoundAtOnce) {
  StartWithJournal();
  Type("Zebra crossing practice");
  Asked().QueueInput("Crossing");
  Form().actSave->Execute();
  Form().JournalSearch().WaitForWrites();
  Search("zebra");
  EXPECT_EQ(Listed(), std::vector<std::string>{"Crossing"});

  // The person renames it in the tree: the new title is searched at once.
  QTreeWidgetItem* node = Form().tvEntries->topLevelItem(0)->child(0);
  Form().tvEntries->FinishEdit(node, "Giraffe walk");
  Form().JournalSearch().WaitForWrites();
  Search("giraffe");
  EXPECT_EQ(Listed(), std::vector<std::string>{"Giraffe walk"});
}

}  // namespace
}  // namespace kl::testing
