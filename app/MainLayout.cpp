// The controls of the main window and their arrangement: the top panel with the rebar and the
// banners, the status bar, then from the left the formatting tool bar, the tree, the splitter
// and the editor in the rest.
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/CoolBar.h"
#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "app/SearchField.h"
#include "app/StatusPanels.h"
#include "app/ToolBar.h"
#include "editor/KlRichEdit.h"

namespace kl {

namespace {

constexpr int TopHeight = 49;
constexpr int ImagesWidth = 375;
constexpr int TreeWidth = 157;
constexpr int SplitterWidth = 6;

QLabel* MakeBanner(const QString& name, const QString& picture, int width, QWidget* parent) {
  auto* banner = new QLabel(parent);
  banner->setObjectName(name);
  banner->setPixmap(QPixmap(picture));
  banner->setAlignment(Qt::AlignCenter);
  banner->setFixedSize(width, TopHeight);
  banner->setCursor(Qt::PointingHandCursor);
  return banner;
}

}  // namespace

void TfrmMain::BuildLayout() {
  setFont(QFont("MS Sans Serif", 8));
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  BuildTopPanel();
  outer->addWidget(pnlTop);
  BuildClientArea();
  BuildStatusBar();
  outer->addWidget(stbMain);
  CentreOnScreen();
}

void TfrmMain::BuildTopPanel() {
  pnlTop = new QWidget(this);
  pnlTop->setObjectName("pnlTop");
  pnlTop->setFixedHeight(TopHeight);
  auto* row = new QHBoxLayout(pnlTop);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  clbr1 = new TCoolBar(pnlTop);
  clbr1->setObjectName("clbr1");
  tlbMainMenu = new TToolBar(Qt::Horizontal, clbr1);
  tlbMainMenu->setObjectName("tlbMainMenu");
  ToolBar1 = new TToolBar(Qt::Horizontal, clbr1);
  ToolBar1->setObjectName("ToolBar1");
  clbr1->AddBand(tlbMainMenu, 21);
  clbr1->AddBand(ToolBar1, 22);
  row->addWidget(clbr1, 1);

  pnlImages = new QWidget(pnlTop);
  pnlImages->setObjectName("pnlImages");
  pnlImages->setFixedWidth(ImagesWidth);
  auto* images = new QHBoxLayout(pnlImages);
  images->setContentsMargins(0, 0, 0, 0);
  images->setSpacing(0);
  imgLogos = MakeBanner("imgLogos", ":/logo.bmp", 205, pnlImages);
  imgRecom = MakeBanner("imgRecom", ":/recommended.bmp", 149, pnlImages);
  pnlRight = new QWidget(pnlImages);
  pnlRight->setObjectName("pnlRight");
  pnlRight->setFixedWidth(8);
  images->addWidget(imgLogos);
  images->addStretch(1);
  images->addWidget(imgRecom);
  images->addWidget(pnlRight);
  row->addWidget(pnlImages);
}

void TfrmMain::BuildClientArea() {
  auto* client = new QWidget(this);
  auto* row = new QHBoxLayout(client);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  tlbMaintoolbar = new TToolBar(Qt::Vertical, client);
  tlbMaintoolbar->setObjectName("tlbMaintoolbar");
  tlbMaintoolbar->setFixedWidth(TToolBar::ButtonWidth);
  row->addWidget(tlbMaintoolbar);

  splLeft = new QSplitter(Qt::Horizontal, client);
  splLeft->setObjectName("splLeft");
  splLeft->setHandleWidth(SplitterWidth);
  splLeft->setChildrenCollapsible(false);
  row->addWidget(splLeft, 1);

  // The search field stands above the tree, as wide as it.
  pnlEntries = new QWidget(splLeft);
  pnlEntries->setObjectName("pnlEntries");
  auto* entries = new QVBoxLayout(pnlEntries);
  entries->setContentsMargins(0, 0, 0, 0);
  entries->setSpacing(2);
  edtSearch = new TSearchField(pnlEntries);
  entries->addWidget(edtSearch);
  tvEntries = new TEntryTree(pnlEntries);
  entries->addWidget(tvEntries, 1);
  tvEntries->setObjectName("tvEntries");
  tvEntries->setHeaderHidden(true);
  tvEntries->setColumnCount(1);
  tvEntries->setIndentation(19);
  tvEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvEntries->setSelectionMode(QAbstractItemView::SingleSelection);
  tvEntries->setEditTriggers(QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::SelectedClicked);
  tvEntries->setAllColumnsShowFocus(true);
  // The selected entry stays marked while the editor has the focus.
  QPalette treeColours = tvEntries->palette();
  treeColours.setColor(QPalette::Inactive, QPalette::Highlight,
                       treeColours.color(QPalette::Active, QPalette::Highlight));
  treeColours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                       treeColours.color(QPalette::Active, QPalette::HighlightedText));
  tvEntries->setPalette(treeColours);
  tvEntries->addTopLevelItem(new QTreeWidgetItem(QStringList{"Entries"}));
  tvEntries->setMinimumWidth(1);
  edtSearch->setMinimumWidth(1);

  rchMain = new TKlRichEdit(splLeft);
  rchMain->setObjectName("rchMain");
  rchMain->SetHideSelection(false);
  rchMain->SetWantTabs(true);

  splLeft->addWidget(pnlEntries);
  splLeft->addWidget(rchMain);
  splLeft->setStretchFactor(0, 0);
  splLeft->setStretchFactor(1, 1);
  splLeft->setSizes({TreeWidth, 539});
  splLeft->handle(1)->setFocusPolicy(Qt::NoFocus);

  setTabOrder(edtSearch, tvEntries);
  setTabOrder(tvEntries, rchMain);
  static_cast<QVBoxLayout*>(layout())->addWidget(client, 1);
}

void TfrmMain::BuildStatusBar() {
  stbMain = new TStatusPanels({120, 60, 50}, this);
  stbMain->setObjectName("stbMain");
  stbMain->SetText(1, "Modified");
}

void TfrmMain::CentreOnScreen() {
  // The client area within the 733 x 539 outer size of a framed window.
  resize(725, 512);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.center() - QPoint(OuterWidth / 2, OuterHeight / 2));
}

}  // namespace kl
