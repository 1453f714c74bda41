#include "app/About.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <exception>

#include "framework/Application.h"
#include "framework/ClickLabel.h"
#include "framework/dialogs/Dialogs.h"
#include "store/AboutLinks.h"

namespace kl {

namespace {

constexpr std::uint16_t VK_ESCAPE = 27;

// The platform's virtual-key code for the keys the form tells apart; 0 for the others.
std::uint16_t VirtualKeyOf(int key) {
  if (key == Qt::Key_Escape) return VK_ESCAPE;
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return std::uint16_t(key);
  return 0;
}

QFont FontOfHeight(int pixels, bool linkStyle = false) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(pixels);
  if (linkStyle) {
    font.setBold(true);
    font.setUnderline(true);
  }
  return font;
}

template <typename Label>
Label* MakeLabel(QWidget* parent, const char* name, QRect place, int fontHeight) {
  auto* label = new Label(parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(place);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  if (fontHeight > 0) label->setFont(FontOfHeight(fontHeight));
  return label;
}

// Blue, bold and underlined, with the hand cursor: a label that reads as a link.
void StyleAsLink(TClickLabel* label, int fontHeight) {
  label->setFont(FontOfHeight(fontHeight, true));
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(colours);
  label->setCursor(Qt::PointingHandCursor);
}

}  // namespace

// A dialog frame with a caption and a close box only: it greets the start before any other
// window is up, so it must not be a tool window that window managers may keep out of sight.
TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ..."));
  setFont(FontOfHeight(11));
  setFixedSize(ClientWidth, ClientHeight);
  BuildControls();
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  btnOk->setFocus();
}

void TfrmAbout::BuildControls() {
  // The first four stand one under the other from the top, the copyright at the bottom edge;
  // the button sits at the lower right, first in the tab order so it has the focus.
  btnOk = new QPushButton(QStringLiteral("Ok"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setGeometry(282, 208, 45, 35);
  btnOk->setAutoDefault(false);
  connect(btnOk, &QPushButton::clicked, this, [this] { done(ModalCancel); });

  lblAppName = MakeLabel<QLabel>(this, "lblAppName", {0, 0, ClientWidth, 65}, 19);
  lblAppName->setText(QStringLiteral("lblAppName"));

  imgLogos = MakeLabel<TClickLabel>(this, "imgLogos", {0, 65, ClientWidth, 68}, 0);
  imgLogos->setAlignment(Qt::AlignCenter);
  imgLogos->setPixmap(QPixmap(QStringLiteral(":/about-logo.bmp")));
  imgLogos->setCursor(Qt::PointingHandCursor);
  imgLogos->setToolTip(QString::fromLatin1(HomePage));
  imgLogos->OnClick = [this](TObject* sender) { imgLogosClick(sender); };

  lblURL = MakeLabel<TClickLabel>(this, "lblURL", {0, 133, ClientWidth, 24}, 0);
  lblURL->setText(QString::fromLatin1(HomeAddressLabel));
  StyleAsLink(lblURL, 15);
  lblURL->OnClick = [this](TObject* sender) { imgLogosClick(sender); };

  lblRecommended = MakeLabel<TClickLabel>(this, "lblRecommended", {0, 157, ClientWidth, 40}, 0);
  lblRecommended->setText(
      QStringLiteral("Click Here For Our #1 Recommended Dog Training Course ..."));
  lblRecommended->setWordWrap(true);
  StyleAsLink(lblRecommended, 16);
  lblRecommended->OnClick = [this](TObject* sender) { lblRecommendedClick(sender); };

  lblCopyright = MakeLabel<QLabel>(this, "lblCopyright", {0, 216, ClientWidth, 33}, 0);
  lblCopyright->setText(QStringLiteral("lblCopyright"));
  // The button stands over the label's right end: a notice too long for the space beside it
  // wraps, still centred, instead of running under the button.
  const int besideButton = ClientWidth - 282 + 4;
  lblCopyright->setContentsMargins(besideButton, 0, besideButton, 0);
  lblCopyright->setWordWrap(true);
  btnOk->raise();
}

void TfrmAbout::FormKeyUp(TObject*, std::uint16_t& Key) {
  if (Key == VK_ESCAPE) done(ModalCancel);
}

void TfrmAbout::imgLogosClick(TObject*) {
  OpenLink(HomePage);
}

void TfrmAbout::lblRecommendedClick(TObject*) {
  OpenLink(CoursePage);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  // A key event travels from the focused control up to the form; it is previewed once, where
  // it starts.
  QWidget* target = focusWidget() ? focusWidget() : this;
  if (event->type() == QEvent::KeyRelease && watched == target) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
      std::uint16_t code = VirtualKeyOf(key->key());
      FormKeyUp(this, code);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = frameGeometry().size();
  move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void ShowAbout() {
  try {
    TfrmAbout form;
    std::string version;
    GetAppVersion(version);
    form.lblAppName->setText(
        QString::fromStdString("\r\n" + Application().Title() + " " + version));
    form.lblCopyright->setText(QString::fromLatin1(CopyrightNotice));
    Dialogs().ExecModal(form);
  } catch (const std::exception& failure) {
    ShowMessage(std::string("ShowAbout: Error - ") + failure.what());
  }
}

}  // namespace kl
