// The modeless find and replace dialogs as a person uses them: the texts and options shown and
// read back on each press, Enter and Escape, and what survives closing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <string>
#include <vector>

#include "framework/dialogs/FindDialog.h"

namespace kl {
namespace {

template <typename T>
T* Child(TFindDialog& dialog, const char* name) {
  EXPECT_NE(dialog.Handle(), nullptr);
  return dialog.Handle() ? dialog.Handle()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

void Key(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST(FindDialogTest, EachPressRebuildsTheOptionsAndTakesTheText) {
  QWidget owner;
  TFindDialog dialog(&owner);
  EXPECT_EQ(dialog.Options, TFindOptions{TFindOption::frDown});
  std::vector<TFindOptions> finds;
  dialog.OnFind = [&](TObject* sender) {
    EXPECT_EQ(sender, &dialog);
    finds.push_back(dialog.Options);
  };
  dialog.SetFindText("heel");
  dialog.Execute();
  EXPECT_EQ(Child<QLineEdit>(dialog, "findText")->text(), "heel");
  Child<QLineEdit>(dialog, "findText")->setText("sit");
  Child<QCheckBox>(dialog, "matchCase")->setChecked(true);
  Child<QRadioButton>(dialog, "up")->setChecked(true);
  Child<QPushButton>(dialog, "findNext")->click();
  ASSERT_EQ(finds.size(), 1u);
  EXPECT_EQ(dialog.FindText(), "sit");
  EXPECT_EQ(finds[0], (TFindOptions{TFindOption::frFindNext, TFindOption::frMatchCase}));
  Child<QCheckBox>(dialog, "matchCase")->setChecked(false);
  Child<QCheckBox>(dialog, "wholeWord")->setChecked(true);
  Child<QRadioButton>(dialog, "down")->setChecked(true);
  Key(Child<QLineEdit>(dialog, "findText"), Qt::Key_Return);  // Enter runs Find Next
  ASSERT_EQ(finds.size(), 2u);
  EXPECT_EQ(finds[1],
            (TFindOptions{TFindOption::frFindNext, TFindOption::frWholeWord, TFindOption::frDown}));
}

TEST(FindDialogTest, EscapeClosesAndEverythingIsKeptForTheNextShowing) {
  QWidget owner;
  TFindDialog dialog(&owner);
  int closed = 0;
  dialog.OnClose = [&](TObject*) { ++closed; };
  dialog.Execute();
  Child<QLineEdit>(dialog, "findText")->setText("down");
  Child<QCheckBox>(dialog, "wholeWord")->setChecked(true);
  Child<QPushButton>(dialog, "findNext")->click();
  dialog.SetPosition({40, 50});
  Key(Child<QLineEdit>(dialog, "findText"), Qt::Key_Escape);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(dialog.Handle(), nullptr);
  dialog.Execute();
  EXPECT_EQ(Child<QLineEdit>(dialog, "findText")->text(), "down");
  EXPECT_TRUE(Child<QCheckBox>(dialog, "wholeWord")->isChecked());
  EXPECT_EQ(dialog.Position(), (TPoint{40, 50}));
}

TEST(FindDialogTest, TextsHoldAtMost255CharactersOfAnyScript) {
  QWidget owner;
  TReplaceDialog dialog(&owner);
  const std::string emoji = "\xF0\x9F\x90\x95";  // two UTF-16 units
  std::string longText(255, 'k');
  dialog.SetFindText(longText + "more");
  dialog.SetReplaceText(emoji + "\xE7\x8A\xAC");
  dialog.Execute();
  EXPECT_EQ(Child<QLineEdit>(dialog, "findText")->text().size(), 255);
  bool replaced = false;
  dialog.OnReplace = [&](TObject*) { replaced = true; };
  Child<QPushButton>(dialog, "replaceAll")->click();
  EXPECT_TRUE(replaced);
  EXPECT_EQ(dialog.FindText(), longText);
  EXPECT_EQ(dialog.ReplaceText(), emoji + "\xE7\x8A\xAC");
  EXPECT_TRUE(dialog.Options.contains(TFindOption::frReplaceAll));
  EXPECT_TRUE(dialog.Options.contains(TFindOption::frDown));  // replacing runs downward
  EXPECT_EQ(Child<QRadioButton>(dialog, "up"), nullptr);      // no direction to choose
}

TEST(FindDialogTest, SearchButtonsWaitForATextAndHiddenOptionsStayHidden) {
  QWidget owner;
  TReplaceDialog dialog(&owner);
  dialog.Options.include(TFindOption::frHideMatchCase).include(TFindOption::frDisableWholeWord);
  dialog.Execute();
  EXPECT_FALSE(Child<QPushButton>(dialog, "findNext")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(dialog, "replaceAll")->isEnabled());
  Child<QLineEdit>(dialog, "findText")->setText("x");
  EXPECT_TRUE(Child<QPushButton>(dialog, "replace")->isEnabled());
  EXPECT_FALSE(Child<QCheckBox>(dialog, "matchCase")->isVisible());
  EXPECT_FALSE(Child<QCheckBox>(dialog, "wholeWord")->isEnabled());
  Child<QPushButton>(dialog, "replace")->click();
  EXPECT_TRUE(dialog.Options.contains(TFindOption::frHideMatchCase));
}

}  // namespace
}  // namespace kl
