// Actions: the execution rules shared by menu items, tool buttons, shortcuts and code.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "framework/actions/ActionList.h"
#include "framework/actions/ImageList.h"

// Exported by QtGui: offers a key to the window's shortcuts first, as a real key press does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace kl {
namespace {

// Presses a key the way the window system delivers it: shortcuts first, then the focused widget.
void PressKey(QWidget& focus, int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
  if (qt_sendShortcutOverrideEvent(&focus, 0, key, mods, text, false, 1)) return;
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(&focus, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(&focus, &release);
}

class ActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(200, 100);
    auto* layout = new QVBoxLayout(&window);
    edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    edit->setFocus();
    QApplication::processEvents();
  }

  TAction& AddBold() {
    TAction& bold = list.Add({"actBold", "Format", "Bold", "Bold|Set or unset bold style",
                              QKeySequence(Qt::CTRL | Qt::Key_B), 4, true});
    bold.OnExecute = [&](TObject* sender) {
      seenChecked.push_back(static_cast<TAction*>(sender)->Checked());
    };
    window.addAction(bold.Handle());
    return bold;
  }

  QWidget window;
  QLineEdit* edit = nullptr;
  TActionList list;
  std::vector<bool> seenChecked;
};

TEST_F(ActionTest, KeepsItsPropertiesAndShowsTheShortHintAsToolTip) {
  TImageList images(QSize(16, 16));
  images.Add(":/missing.png");
  TActionList withImages(&images);
  TAction& cut = withImages.Add({"actEditCut", "Edit", "Cu&t",
                                 "Cut|Cuts the selection and puts it on the Clipboard",
                                 QKeySequence(Qt::CTRL | Qt::Key_X), 1, false});
  EXPECT_EQ(cut.Caption(), "Cu&t");
  EXPECT_EQ(cut.Category(), "Edit");
  EXPECT_EQ(cut.ShortHint(), "Cut");
  EXPECT_EQ(cut.LongHint(), "Cuts the selection and puts it on the Clipboard");
  EXPECT_EQ(cut.Handle()->toolTip(), "Cut");
  EXPECT_EQ(cut.ShortCut(), QKeySequence(Qt::CTRL | Qt::Key_X));
  EXPECT_EQ(cut.ImageIndex(), 1);
  EXPECT_TRUE(cut.Enabled());
  EXPECT_FALSE(cut.Checked());
  EXPECT_EQ(withImages.Find("actEditCut"), &cut);
  EXPECT_EQ(withImages.Find("actNothing"), nullptr);
}

TEST_F(ActionTest, AutoCheckFlipsBeforeTheHandlerFromEveryRoute) {
  TAction& bold = AddBold();
  QMenu menu;
  menu.addAction(bold.Handle());
  QToolButton button(&window);
  button.setDefaultAction(bold.Handle());

  EXPECT_TRUE(bold.Execute());                      // code
  menu.actions().front()->trigger();                // menu item
  button.click();                                   // tool button
  PressKey(*edit, Qt::Key_B, Qt::ControlModifier);  // shortcut
  EXPECT_EQ(seenChecked, (std::vector<bool>{true, false, true, false}));
  EXPECT_FALSE(bold.Checked());
  EXPECT_FALSE(button.isChecked());
}

TEST_F(ActionTest, SettingTheCheckedStateDoesNotRunTheHandler) {
  TAction& bold = AddBold();
  QToolButton button(&window);
  button.setDefaultAction(bold.Handle());
  bold.SetChecked(true);
  EXPECT_TRUE(bold.Checked());
  EXPECT_TRUE(button.isChecked());  // drawn pressed
  EXPECT_TRUE(seenChecked.empty());
}

TEST_F(ActionTest, DisabledActionDoesNothingAndLeavesItsKeyToTheFocusedControl) {
  int runs = 0;
  TAction& save = list.Add({"actSave", "File", "Save", "Save|Save journal entry",
                            QKeySequence(Qt::CTRL | Qt::Key_S), 15, false});
  save.OnExecute = [&](TObject*) { ++runs; };
  window.addAction(save.Handle());
  TAction& bold = AddBold();

  save.SetEnabled(false);
  bold.SetEnabled(false);
  EXPECT_FALSE(save.Execute());
  EXPECT_FALSE(bold.Execute());
  EXPECT_FALSE(bold.Checked());

  // The line edit takes Ctrl+A itself; Ctrl+S and Ctrl+B are typed into it as nothing, but
  // they must arrive there rather than vanish in the disabled action.
  int keysSeen = 0;
  struct Spy : QObject {
    int* count;
    explicit Spy(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::KeyPress) ++*count;
      return false;
    }
  } spy(&keysSeen);
  edit->installEventFilter(&spy);
  PressKey(*edit, Qt::Key_S, Qt::ControlModifier);
  PressKey(*edit, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(keysSeen, 2);
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(seenChecked.empty());

  save.SetEnabled(true);
  PressKey(*edit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(keysSeen, 2);  // taken by the enabled action
}

TEST_F(ActionTest, FailureOfTheHandlerReachesTheCodeThatExecutedIt) {
  TAction& failing = list.Add({"actFail", "", "Fail", "", QKeySequence(), -1, false});
  failing.OnExecute = [](TObject*) { throw std::runtime_error("Failed to Save Stream"); };
  EXPECT_THROW(failing.Execute(), std::runtime_error);
}

}  // namespace
}  // namespace kl
