// The main menu, shown as the flat caption buttons of the first rebar band, and the two image
// tool bars. Every item and button is linked to its action and follows its state.
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "app/MainForm.h"
#include "app/ToolBar.h"
#include "framework/actions/Action.h"
#include "framework/actions/ImageList.h"

namespace kl {

namespace {

constexpr int MenuButtonWidth = 47;
constexpr int MenuButtonHeight = 21;

QMenu* MakeMenu(const QString& name, const QString& caption, QWidget* parent) {
  auto* menu = new QMenu(caption, parent);
  menu->setObjectName(name);
  // The platform's menus show no tool tips.
  menu->setToolTipsVisible(false);
  return menu;
}

void AddItem(QMenu& menu, const TAction& action) {
  menu.addAction(action.Handle());
}

QToolButton* MakeMenuButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);  // the "&" makes Alt + the letter drop the menu
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setAutoRaise(true);
  button->setFixedSize(MenuButtonWidth, MenuButtonHeight);
  button->setFocusPolicy(Qt::NoFocus);
  // A flat caption, with no arrow beside it.
  button->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
  return button;
}

// The pointer leaves a caption while its menu is open, and the caption is not told when the
// menu closes elsewhere: without this it would stay drawn raised as if still pointed at.
void ForgetStaleHover(QToolButton& button) {
  const bool under = button.rect().contains(button.mapFromGlobal(QCursor::pos()));
  if (button.testAttribute(Qt::WA_UnderMouse) == under) return;
  button.setAttribute(Qt::WA_UnderMouse, under);
  button.update();
}

}  // namespace

void TfrmMain::BuildMenu() {
  mniFile = MakeMenu("mniFile", "&File", this);
  AddItem(*mniFile, *actNew);
  AddItem(*mniFile, *actOpen);
  AddItem(*mniFile, *actSave);
  mniFile->addSeparator();
  AddItem(*mniFile, *actPrint);
  mniFile->addSeparator();
  AddItem(*mniFile, *actExit);

  mniEdit = MakeMenu("mniEdit", "&Edit", this);
  AddItem(*mniEdit, *actEditUndo);
  AddItem(*mniEdit, *actEditRedo);
  mniEdit->addSeparator();
  AddItem(*mniEdit, *actEditCut);
  AddItem(*mniEdit, *actEditCopy);
  AddItem(*mniEdit, *actEditPaste);
  mniEdit->addSeparator();
  AddItem(*mniEdit, *actEditSelAll);
  // The edit commands are judged afresh when the menu opens.
  connect(mniEdit, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });

  mniFormat = MakeMenu("mniFormat", "For&mat", this);
  AddItem(*mniFormat, *actFontSelect);
  mniFormat->addSeparator();
  AddItem(*mniFormat, *actBold);
  AddItem(*mniFormat, *actItalic);
  AddItem(*mniFormat, *actUnderline);
  mniFormat->addSeparator();
  AddItem(*mniFormat, *actAlignLeft);
  AddItem(*mniFormat, *actAlignCenter);
  AddItem(*mniFormat, *actAlignRight);
  mniFormat->addSeparator();
  AddItem(*mniFormat, *actBullets);

  mniSearch = MakeMenu("mniSearch", "Search", this);
  AddItem(*mniSearch, *actFind);
  AddItem(*mniSearch, *actFindNext);
  mniSearch->addSeparator();
  AddItem(*mniSearch, *actReplace);
}

void TfrmMain::BuildMenuBar() {
  for (QMenu* menu : {mniFile, mniEdit, mniFormat, mniSearch}) {
    QToolButton* button = MakeMenuButton(menu->objectName() + "Button", menu->title(), tlbMainMenu);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    connect(menu, &QMenu::aboutToHide, button,
            [button] { QTimer::singleShot(0, button, [button] { ForgetStaleHover(*button); }); });
    tlbMainMenu->AddWidget(button);
  }
  // About is a command of its own on the menu bar, not linked to the About action.
  mniAbout = MakeMenuButton("mniAbout", "About ...", tlbMainMenu);
  mniAbout->setToolTip(QString::fromStdString(actAbout->ShortHint()));
  mniAbout->setIcon(imlMainEnabled->Icon(3));
  connect(mniAbout, &QToolButton::clicked, this, [this] { actAboutExecute(this); });
  tlbMainMenu->AddWidget(mniAbout);
}

void TfrmMain::BuildToolBars() {
  ToolBar1->AddButton(*actNew, "ToolButton1");
  ToolBar1->AddButton(*actOpen, "ToolButton2");
  ToolBar1->AddButton(*actSave, "ToolButton3");
  ToolBar1->AddButton(*actPrint, "btnPrint");
  ToolBar1->AddSeparator("ToolButton4");
  ToolBar1->AddButton(*actEditCut, "ToolButton5");
  ToolBar1->AddButton(*actEditCopy, "ToolButton6");
  ToolBar1->AddButton(*actEditPaste, "ToolButton7");
  ToolBar1->AddSeparator("ToolButton8");
  ToolBar1->AddButton(*actAbout, "ToolButton20");

  tlbMaintoolbar->AddButton(*actFontSelect, "btnFont");
  tlbMaintoolbar->AddSeparator("btn1");
  tlbMaintoolbar->AddButton(*actBold, "btnBold");
  tlbMaintoolbar->AddButton(*actItalic, "btnItalic");
  tlbMaintoolbar->AddButton(*actUnderline, "btnUnderline");
  tlbMaintoolbar->AddSeparator("btnSeparator4");
  tlbMaintoolbar->AddButton(*actAlignLeft, "btnAlignLeft");
  tlbMaintoolbar->AddButton(*actAlignCenter, "btnAlignCenter");
  tlbMaintoolbar->AddButton(*actAlignRight, "btnAlignRight");
  tlbMaintoolbar->AddSeparator("ToolButton9");
  tlbMaintoolbar->AddButton(*actBullets, "btnBullets");
  tlbMaintoolbar->AddSeparator("ToolButton10");
  tlbMaintoolbar->AddButton(*actInsertImage, "btnInsertImage");
}

}  // namespace kl
