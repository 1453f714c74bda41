#include "editor/KlCustomRichEdit.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/KlParaAttributes.h"
#include "editor/KlRichEd.h"
#include "editor/KlTextAttributes.h"
#include "editor/RichEditOleCallback.h"
#include "editor/RichEditStrings.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/MemoryStream.h"
#include "framework/dialogs/FindDialog.h"
#include "platform/richedit/RichEditLibrary.h"
#include "platform/richedit/RichEditOle.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

constexpr DWORD kEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED;
constexpr LPARAM kNoTextLimit = 0xFFFFFF;

LPARAM AsLParam(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Keeps a setting for the length of a scope and puts the old value back however it ends.
template <typename T>
class Restorer {
 public:
  Restorer(T& place) : place_(place), old_(place) {}
  ~Restorer() { place_ = old_; }

 private:
  T& place_;
  T old_;
};

}  // namespace

TKlCustomRichEdit::TKlCustomRichEdit(QWidget* parent)
    : QWidget(parent),
      callback_(std::make_unique<TRichEditOleCallback>(*this)),
      selectionAttributes_(std::make_unique<TKlTextAttributes>(*this, CharFormatKind::Selection)),
      defaultAttributes_(std::make_unique<TKlTextAttributes>(*this, CharFormatKind::DefaultText)),
      caretWordAttributes_(std::make_unique<TKlTextAttributes>(*this, CharFormatKind::CaretWord)),
      paragraphAttributes_(std::make_unique<TKlParaAttributes>(*this)),
      lines_(std::make_unique<TRichEditStrings>()) {
  RichEditVersion();  // the library is loaded before the first control exists
  lines_->SetOwner(this);
  setFocusPolicy(Qt::StrongFocus);
  resize(185, 89);
}

TKlCustomRichEdit::~TKlCustomRichEdit() {
  lastSearchDialog_ = nullptr;
  ReleaseWindow();
}

// ---- The window ---------------------------------------------------------------------------

void TKlCustomRichEdit::HandleNeeded() {
  if (!control_) CreateWnd();
}

template <typename T>
void TKlCustomRichEdit::RecreateWith(T& field, T value) {
  if (field == value) return;
  const T old = field;
  field = value;
  try {
    RecreateWnd();
  } catch (...) {
    field = old;  // the window was kept as it was
    throw;
  }
}

void TKlCustomRichEdit::RecreateWnd() {
  if (!control_) return;
  DestroyWnd();
  CreateWnd();
}

void TKlCustomRichEdit::SetMessageHook(MessageHook hook) {
  messageHook_ = std::move(hook);
  if (control_) control_->setMessageHook(messageHook_);
}

std::intptr_t TKlCustomRichEdit::Perform(std::uint32_t msg, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  HandleNeeded();
  return WndProc(msg, wParam, lParam);
}

std::intptr_t TKlCustomRichEdit::WndProc(std::uint32_t msg, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  switch (msg) {
    case EM_REPLACESEL:
      return ReplaceSelection(wParam, lParam);
    case WM_SETFONT:
      // The component's font is the control's default character format.
      defaultAttributes_->Assign(font_);
      return 0;
    case WM_CONTEXTMENU: {
      // The framework's answer: the component's menu at the point, when it has one.
      control_->Perform(msg, wParam, lParam);
      const QPoint at(std::int16_t(lParam & 0xFFFF), std::int16_t((lParam >> 16) & 0xFFFF));
      return PopupContextMenu(at) ? 1 : 0;
    }
    default:
      return control_->Perform(msg, wParam, lParam);
  }
}

void TKlCustomRichEdit::CreateParams(TCreateParams& params) const {
  // The memo's parameters.
  DWORD style = WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
  if (alignment_ == TAlignment::taRightJustify) style |= ES_RIGHT;
  if (alignment_ == TAlignment::taCenter) style |= ES_CENTER;
  if (readOnly_) style |= ES_READONLY;
  if (wantReturns_) style |= ES_WANTRETURN;
  if (wordWrap_) style &= ~ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth)
    style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
    style |= WS_HSCROLL;

  params.WinClassName = RichEditVersion() == 1 ? "RICHEDIT" : "RichEdit20A";
  style &= ~(WS_HSCROLL | WS_VSCROLL);
  style |= ES_SAVESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth)
    style |= WS_VSCROLL;
  if ((scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) &&
      !wordWrap_)
    style |= WS_HSCROLL;
  if (!hideScrollBars_) style |= ES_DISABLENOSCROLL;
  if (selectionBar_) style |= ES_SELECTIONBAR;
  if (!hideSelection_) style |= ES_NOHIDESEL;
  params.Style = style;
  params.WindowClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TKlCustomRichEdit::CreateWnd() {
  const TRichStreamFormat oldFormat = lines_->StreamFormat();
  const TRichStreamModes oldMode = lines_->StreamMode();

  TCreateParams params;
  CreateParams(params);
  std::unique_ptr<RichEditControl> control =
      CreateWindowEx(params.WinClassName, params.Style, this);
  if (!control)
    throw Exception("Cannot create the editor window (class \"" + params.WinClassName + "\")");
  control_ = std::move(control);
  if (messageHook_) control_->setMessageHook(messageHook_);
  control_->setNotifySink(this);
  control_->setGeometry(rect());
  keyTarget_ = control_.get();
  while (keyTarget_->focusProxy()) keyTarget_ = keyTarget_->focusProxy();
  keyTarget_->installEventFilter(this);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(keyTarget_)) {
    mouseTarget_ = area->viewport();
    mouseTarget_->installEventFilter(this);
  }
  setFocusProxy(control_.get());
  if (isVisible()) control_->show();
  WndProc(WM_SETFONT, 0, 0);  // as every new window is given the component's font

  // No Far-East charset step: this platform has no system default font character set.
  Perform(EM_SETEVENTMASK, 0, kEventMask | (RichEditVersion() >= 2 ? ENM_LINK : 0));
  Perform(EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(color_)));
  ApplyMaxLength();
  ApplyWordSelection();
  if (RichEditVersion() >= 2) {
    Perform(EM_AUTOURLDETECT, autoURLDetect_ ? 1 : 0, 0);
    undoLimit_ = int(Perform(EM_SETUNDOLIMIT, WPARAM(std::max(undoLimit_, 0)), 0));
    ApplyTextMode(plainText_);
    ApplyLangOptions();
  }
  if (allowObjects_) {
    Perform(EM_SETOLECALLBACK, 0, AsLParam(static_cast<IRichEditOleCallback*>(callback_.get())));
    IRichEditOle* ole = nullptr;
    if (Perform(EM_GETOLEINTERFACE, 0, AsLParam(&ole)) && ole) richEditOle_ = ole;
    UpdateHostNames();
  }
  if (savedContent_) {
    std::unique_ptr<TMemoryStream> saved = std::move(savedContent_);
    try {
      char designMode = 0;
      saved->ReadBuffer(&designMode, 1);
      if (designMode != 0) {
        lines_->SetStreamFormat(TRichStreamFormat::sfPlainText);
        lines_->SetStreamMode({});
      }
      lines_->LoadFromStream(*saved);
    } catch (...) {
      lines_->SetStreamFormat(oldFormat);
      lines_->SetStreamMode(oldMode);
      throw;
    }
    lines_->SetStreamFormat(oldFormat);
    lines_->SetStreamMode(oldMode);
  }
  if (RichEditVersion() == 1) Perform(WM_SETFONT, 0, 0);
  SetModified(modified_);
}

void TKlCustomRichEdit::DestroyWnd() {
  if (!control_) return;
  modified_ = Modified();  // the flag lives in the component until the next window
  auto saved = std::make_unique<TMemoryStream>();
  const char designMode = Designing() ? 1 : 0;
  saved->WriteBuffer(&designMode, 1);
  {
    Restorer<TRichStreamFormat> keepFormat(lines_->format_);
    Restorer<TRichStreamModes> keepMode(lines_->mode_);
    if (designMode) {
      lines_->SetStreamFormat(TRichStreamFormat::sfPlainText);
      lines_->SetStreamMode({});
    }
    // When the content cannot be saved the window stays: destroying it would lose the text.
    lines_->SaveToStream(*saved);
  }
  saved->SetPosition(0);
  savedContent_ = std::move(saved);
  ReleaseWindow();
}

void TKlCustomRichEdit::ReleaseWindow() {
  if (!control_) return;
  CloseAllObjects();
  if (richEditOle_) richEditOle_->Release();
  richEditOle_ = nullptr;
  keyTarget_->removeEventFilter(this);
  keyTarget_ = nullptr;
  if (mouseTarget_) mouseTarget_->removeEventFilter(this);
  mouseTarget_ = nullptr;
  control_->setNotifySink(nullptr);
  setFocusProxy(nullptr);
  control_.reset();
}

void TKlCustomRichEdit::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  HandleNeeded();
  control_->show();
}

void TKlCustomRichEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (control_) control_->setGeometry(rect());
}

bool TKlCustomRichEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mouseTarget_ && mouseTarget_ != nullptr) return MouseOverText(*event);
  if (watched != keyTarget_ || event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // Without WantTabs, Tab moves the focus on as in any other field of the window.
  const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!wantTabs_ && plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
    focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
    return true;
  }
  return TypeKey(*watched, *key);
}

// Right clicks over the text. On systems before major version 5 the control makes no
// context-menu request of its own: releasing the right button sends one, at the click's screen
// point. Otherwise the request comes from the control, and a right click over text shows the
// control's own menu unless the component has one (an object's verbs, or PopupMenu).
bool TKlCustomRichEdit::MouseOverText(QEvent& event) {
  if (event.type() == QEvent::ContextMenu) {
    if (SystemMajorVersion() < 5) return true;  // made by the button's release instead
    return PopupContextMenu(static_cast<QContextMenuEvent&>(event).globalPos());
  }
  if (event.type() == QEvent::MouseButtonRelease && SystemMajorVersion() < 5) {
    auto& mouse = static_cast<QMouseEvent&>(event);
    if (mouse.button() != Qt::RightButton) return false;
    const QPoint screen = mouse.globalPosition().toPoint();
    const LPARAM point = LPARAM(std::uint16_t(std::int16_t(screen.x()))) |
                         (LPARAM(std::uint16_t(std::int16_t(screen.y()))) << 16);
    Perform(WM_CONTEXTMENU, WPARAM(reinterpret_cast<std::uintptr_t>(control_.get())), point);
  }
  return false;  // then the framework's default handling of the release
}

// Ctrl+Z takes back the last words rather than a whole paragraph of typing: a blank, tab or
// line break typed after a word ends the typing's undo step, the blank with it.
bool TKlCustomRichEdit::TypeKey(QObject& target, QKeyEvent& key) {
  const bool command = key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  const QString text = key.text();
  const bool breakKey = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  const bool blank = !command && (breakKey || text == QLatin1String(" ") ||
                                  text == QLatin1String("\t") || key.key() == Qt::Key_Tab);
  if (!blank) {
    if (!command && !text.isEmpty() && text.at(0).isPrint()) {
      wordTyped_ = true;
    } else if (key.key() != Qt::Key_Backspace && key.key() != Qt::Key_Shift) {
      wordTyped_ = false;  // the caret moves or something else is done: a new step anyway
    }
    return false;
  }
  if (!wordTyped_) return false;
  wordTyped_ = false;
  target.event(&key);  // the blank first, so that it stays with its word
  if (control_) Perform(EM_STOPGROUPTYPING, 0, 0);
  return true;
}

// ---- Notifications ------------------------------------------------------------------------

void TKlCustomRichEdit::onCommandNotify(WORD code) {
  if (code == EN_CHANGE) Change();
}

LRESULT TKlCustomRichEdit::onNotify(NMHDR& header) {
  switch (header.code) {
    case EN_SELCHANGE:
      NotifySelectionChange();
      return 0;
    case EN_REQUESTRESIZE: {
      const auto& request = reinterpret_cast<const REQRESIZE&>(header);
      NotifyResizeRequest(
          TRect{request.rc.left, request.rc.top, request.rc.right, request.rc.bottom});
      return 0;
    }
    case EN_PROTECTED: {
      const auto& p = reinterpret_cast<const ENPROTECTED&>(header);
      const TMessage message{p.msg, p.wParam, p.lParam, 0};
      return AskProtectChange(message, p.chrg.cpMin, p.chrg.cpMax) ? 0 : 1;
    }
    case EN_SAVECLIPBOARD: {
      const auto& s = reinterpret_cast<const ENSAVECLIPBOARD&>(header);
      return AskSaveClipboard(s.cObjectCount, s.cch) ? 0 : 1;
    }
    case EN_LINK:
      return HandleLink(header);
    default:
      return 0;
  }
}

LRESULT TKlCustomRichEdit::HandleLink(const NMHDR& header) {
  const auto& link = reinterpret_cast<const ENLINK&>(header);
  auto press = [&](TMouseButton button) {
    clickRange_ = link.chrg;
    clickButton_ = button;
  };
  auto release = [&](TMouseButton button) {
    const bool same = clickButton_ == button && link.chrg.cpMin == clickRange_.cpMin &&
                      link.chrg.cpMax == clickRange_.cpMax;
    clickRange_ = CHARRANGE{-1, -1};
    if (same) NotifyURLClick(TextRange(link.chrg.cpMin, link.chrg.cpMax), button);
  };
  switch (link.msg) {
    case WM_LBUTTONDOWN:
      press(TMouseButton::mbLeft);
      break;
    case WM_LBUTTONUP:
      release(TMouseButton::mbLeft);
      break;
    case WM_RBUTTONDOWN:
      press(TMouseButton::mbRight);
      break;
    case WM_RBUTTONUP:
      release(TMouseButton::mbRight);
      break;
    default:
      break;
  }
  return 0;
}

std::intptr_t TKlCustomRichEdit::ReplaceSelection(std::uintptr_t wParam, std::intptr_t lParam) {
  CHARRANGE range{0, 0};
  control_->Perform(EM_EXGETSEL, 0, AsLParam(&range));
  const LONG start = range.cpMin;
  if (undoLimit_ > 1 && RichEditVersion() >= 2 && !linesUpdating_) wParam = 1;
  const LRESULT result = control_->Perform(EM_REPLACESEL, wParam, lParam);
  if (!linesUpdating_) {
    // The inserted text ends where the control left the caret; counting the bytes handed in
    // would be wrong for CR LF pairs, characters outside UTF-16's single units, text cut at
    // the length limit and changes refused by protection.
    CHARRANGE after{0, 0};
    control_->Perform(EM_EXGETSEL, 0, AsLParam(&after));
    CHARRANGE inserted{start, std::max(start, after.cpMax)};
    control_->Perform(EM_EXSETSEL, 0, AsLParam(&inserted));
    control_->Perform(EM_SCROLLCARET, 0, 0);
  }
  return result;
}

// ---- Memo properties ----------------------------------------------------------------------

std::string TKlCustomRichEdit::WindowText() {
  const LRESULT length = Perform(WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  // Each UTF-16 unit the length counts takes at most three bytes of UTF-8.
  std::vector<char> buffer(std::size_t(length) * 3 + 1, '\0');
  const LRESULT copied = Perform(WM_GETTEXT, WPARAM(buffer.size()), AsLParam(buffer.data()));
  return std::string(buffer.data(),
                     std::size_t(std::clamp<LRESULT>(copied, 0, LRESULT(buffer.size()) - 1)));
}

std::string TKlCustomRichEdit::Text() {
  return WindowText();
}

void TKlCustomRichEdit::SetText(const std::string& text) {
  Perform(WM_SETTEXT, 0, AsLParam(text.c_str()));
}

void TKlCustomRichEdit::SetFont(const TFont& font) {
  font_ = font;
  if (control_) defaultAttributes_->Assign(font_);
}

void TKlCustomRichEdit::SetColor(TColor color) {
  color_ = color;
  if (control_) Perform(EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(color_)));
}

void TKlCustomRichEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (control_) Perform(EM_SETREADONLY, value ? 1 : 0, 0);
}

void TKlCustomRichEdit::SetMaxLength(int value) {
  maxLength_ = std::max(value, 0);
  if (control_) ApplyMaxLength();
}

void TKlCustomRichEdit::ApplyMaxLength() {
  Perform(EM_EXLIMITTEXT, 0, maxLength_ == 0 ? kNoTextLimit : LPARAM(maxLength_));
}

void TKlCustomRichEdit::SetWantReturns(bool value) {
  RecreateWith(wantReturns_, value);
}

void TKlCustomRichEdit::SetWordWrap(bool value) {
  RecreateWith(wordWrap_, value);
}

void TKlCustomRichEdit::SetScrollBars(TScrollStyle value) {
  RecreateWith(scrollBars_, value);
}

void TKlCustomRichEdit::SetAlignment(TAlignment value) {
  RecreateWith(alignment_, value);
}

void TKlCustomRichEdit::SetBiDiMode(TBiDiMode value) {
  if (biDiMode_ == value) return;
  HandleNeeded();
  biDiMode_ = value;
  ApplyBiDiAlignment();
}

void TKlCustomRichEdit::ApplyBiDiAlignment() {
  PARAFORMAT2 para = paragraphAttributes_->GetAttributes();
  para.dwMask = PFM_ALIGNMENT;
  para.wAlignment = WORD(int(alignment_) + 1);
  paragraphAttributes_->SetAttributes(para);
}

bool TKlCustomRichEdit::Modified() {
  if (!control_) return modified_;
  return Perform(EM_GETMODIFY, 0, 0) != 0;
}

void TKlCustomRichEdit::SetModified(bool value) {
  modified_ = value;
  if (control_) Perform(EM_SETMODIFY, value ? 1 : 0, 0);
}

// ---- Selection, lines and positions -------------------------------------------------------

int TKlCustomRichEdit::SelectionStart() {
  CHARRANGE range{0, 0};
  Perform(EM_EXGETSEL, 0, AsLParam(&range));
  return range.cpMin;
}

void TKlCustomRichEdit::SetSelectionStart(int value) {
  SetSelection(value, value, ScrollCaret::No);
}

int TKlCustomRichEdit::SelectionLength() {
  CHARRANGE range{0, 0};
  Perform(EM_EXGETSEL, 0, AsLParam(&range));
  return range.cpMax - range.cpMin;
}

void TKlCustomRichEdit::SetSelectionLength(int value) {
  const int start = SelectionStart();
  SetSelection(start, start + value, ScrollCaret::Yes);
}

std::string TKlCustomRichEdit::SelectedText() {
  CHARRANGE range{0, 0};
  Perform(EM_EXGETSEL, 0, AsLParam(&range));
  return TextRange(range.cpMin, range.cpMax);
}

void TKlCustomRichEdit::SetSelectedText(const std::string& text) {
  Perform(EM_REPLACESEL, 0, AsLParam(text.c_str()));
}

int TKlCustomRichEdit::GetSelTextBuf(char* buffer, int bufSize) {
  if (!buffer || bufSize <= 0) return 0;
  const std::string text = SelectedText();
  std::size_t n = std::min(text.size(), std::size_t(bufSize - 1));
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return int(n);
}

TPoint TKlCustomRichEdit::CaretPosition() {
  CHARRANGE range{0, 0};
  Perform(EM_EXGETSEL, 0, AsLParam(&range));
  const int line = LineFromChar(range.cpMax);
  // The column counts from the start of the line that holds cpMax.
  return TPoint{range.cpMax - LineIndex(line), line};
}

void TKlCustomRichEdit::SetSelection(int start, int end, ScrollCaret scroll) {
  CHARRANGE range{start, end};
  Perform(EM_EXSETSEL, 0, AsLParam(&range));
  if (scroll == ScrollCaret::Yes) Perform(EM_SCROLLCARET, 0, 0);
}

int TKlCustomRichEdit::LineFromChar(int charIndex) {
  return int(Perform(EM_EXLINEFROMCHAR, 0, charIndex));
}

int TKlCustomRichEdit::LineIndex(int line) {
  return int(Perform(EM_LINEINDEX, WPARAM(std::intptr_t(line)), 0));
}

int TKlCustomRichEdit::LineLength(int charIndex) {
  return int(Perform(EM_LINELENGTH, WPARAM(std::intptr_t(charIndex)), 0));
}

std::string TKlCustomRichEdit::TextRange(int start, int end) {
  HandleNeeded();
  // A range reaching past the end (or to -1, the end) holds at most the whole text; each
  // position takes at most three bytes of UTF-8.
  const LRESULT total = TextLength();
  LRESULT count = end >= 0 ? LRESULT(end) - std::max(start, 0) : total;
  count = std::clamp<LRESULT>(count, 0, total);
  std::vector<char> buffer(std::size_t(count) * 3 + 1, '\0');
  TEXTRANGEA range{{start, end}, buffer.data()};
  const LRESULT copied = Perform(EM_GETTEXTRANGE, 0, AsLParam(&range));
  if (copied <= 0) return {};
  return std::string(buffer.data(),
                     std::size_t(std::min<LRESULT>(copied, LRESULT(buffer.size()) - 1)));
}

TPoint TKlCustomRichEdit::CharPosition(int charIndex) {
  if (!control_) return TPoint{};
  if (RichEditVersion() == 2) {
    const LRESULT pos = Perform(EM_POSFROMCHAR, WPARAM(std::intptr_t(charIndex)), 0);
    return TPoint{int(LOWORD(std::uintptr_t(pos))), int(HIWORD(std::uintptr_t(pos)))};
  }
  POINT point{0, 0};
  Perform(EM_POSFROMCHAR, WPARAM(reinterpret_cast<std::uintptr_t>(&point)), charIndex);
  return TPoint{point.x, point.y};
}

TSelectionTypes TKlCustomRichEdit::SelectionType() {
  if (!control_) return {};
  return TSelectionTypes::fromBits(std::uint32_t(Perform(EM_SELECTIONTYPE, 0, 0)) & 0x0F);
}

void TKlCustomRichEdit::Clear() {
  CloseAllObjects();
  SetText("");
  SetModified(false);
}

// ---- Editor properties --------------------------------------------------------------------

void TKlCustomRichEdit::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  Perform(EM_HIDESELECTION, value ? 1 : 0, 1);
}

void TKlCustomRichEdit::SetHideScrollBars(bool value) {
  RecreateWith(hideScrollBars_, value);
}

void TKlCustomRichEdit::SetSelectionBar(bool value) {
  RecreateWith(selectionBar_, value);
}

void TKlCustomRichEdit::SetAllowObjects(bool value) {
  RecreateWith(allowObjects_, value);
}

bool TKlCustomRichEdit::AutoURLDetect() {
  if (!control_ || RichEditVersion() == 1) return autoURLDetect_;
  return Perform(EM_GETAUTOURLDETECT, 0, 0) != 0;
}

void TKlCustomRichEdit::SetAutoURLDetect(bool value) {
  if (autoURLDetect_ == value) return;
  autoURLDetect_ = value;
  if (control_ && RichEditVersion() >= 2) Perform(EM_AUTOURLDETECT, value ? 1 : 0, 0);
}

bool TKlCustomRichEdit::WordSelection() {
  if (!control_) return wordSelection_;
  return (Perform(EM_GETOPTIONS, 0, 0) & ECO_AUTOWORDSELECTION) != 0;
}

void TKlCustomRichEdit::SetWordSelection(bool value) {
  wordSelection_ = value;
  if (control_) ApplyWordSelection();
}

void TKlCustomRichEdit::ApplyWordSelection() {
  LPARAM options = Perform(EM_GETOPTIONS, 0, 0);
  if (wordSelection_)
    options |= LPARAM(ECO_AUTOWORDSELECTION);
  else
    options &= ~LPARAM(ECO_AUTOWORDSELECTION);
  Perform(EM_SETOPTIONS, ECOOP_SET, options);
}

TRichLangOptions TKlCustomRichEdit::LangOptions() {
  if (!control_ || RichEditVersion() == 1) return langOptions_;
  return TRichLangOptions::fromBits(std::uint32_t(Perform(EM_GETLANGOPTIONS, 0, 0)) & 0x0F);
}

void TKlCustomRichEdit::SetLangOptions(TRichLangOptions value) {
  langOptions_ = value;
  if (control_ && RichEditVersion() >= 2) ApplyLangOptions();
}

void TKlCustomRichEdit::ApplyLangOptions() {
  // The set's members are in the order of their IMF_ bits.
  Perform(EM_SETLANGOPTIONS, 0, LPARAM(langOptions_.bits()));
}

void TKlCustomRichEdit::SetUndoLimit(int value) {
  if (undoLimit_ == value) return;
  undoLimit_ = value;
  if (RichEditVersion() >= 2 && control_)
    undoLimit_ = int(Perform(EM_SETUNDOLIMIT, WPARAM(std::max(value, 0)), 0));
}

void TKlCustomRichEdit::SetTitle(const std::string& value) {
  if (title_ == value) return;
  title_ = value;
  UpdateHostNames();
}

void TKlCustomRichEdit::ApplyTextMode(bool plain) {
  if (RichEditVersion() < 2 || !control_) return;
  WPARAM mode = plain ? TM_PLAINTEXT : TM_RICHTEXT;
  mode |= undoLimit_ >= 2 ? TM_MULTILEVELUNDO : TM_SINGLELEVELUNDO;
  Perform(EM_SETTEXTMODE, mode, 0);
}

void TKlCustomRichEdit::UpdateHostNames() {
  if (!control_ || !richEditOle_) return;
  std::string appName = Application().Title();
  if (Trimmed(appName).empty()) {
    const std::string exe = Application().ExeName();
    appName = exe.substr(exe.find_last_of('/') + 1);
  }
  const std::string objectName = Trimmed(title_).empty() ? appName : title_;
  richEditOle_->SetHostNames(appName.c_str(), objectName.c_str());
}

TRichStreamFormat TKlCustomRichEdit::StreamFormat() const {
  return lines_->StreamFormat();
}

void TKlCustomRichEdit::SetStreamFormat(TRichStreamFormat value) {
  lines_->SetStreamFormat(value);
}

TRichStreamModes TKlCustomRichEdit::StreamMode() const {
  return lines_->StreamMode();
}

void TKlCustomRichEdit::SetStreamMode(TRichStreamModes value) {
  lines_->SetStreamMode(value);
}

void TKlCustomRichEdit::SetLines(const TStrings& lines) {
  lines_->Assign(lines);
}

// ---- Standard edit commands ---------------------------------------------------------------

void TKlCustomRichEdit::CutToClipboard() {
  Perform(WM_CUT, 0, 0);
}
void TKlCustomRichEdit::CopyToClipboard() {
  Perform(WM_COPY, 0, 0);
}
void TKlCustomRichEdit::PasteFromClipboard() {
  Perform(WM_PASTE, 0, 0);
}

void TKlCustomRichEdit::SelectAll() {
  CHARRANGE all{0, -1};
  Perform(EM_EXSETSEL, 0, AsLParam(&all));
}

void TKlCustomRichEdit::Undo() {
  Perform(EM_UNDO, 0, 0);
}
bool TKlCustomRichEdit::CanUndo() {
  return Perform(EM_CANUNDO, 0, 0) != 0;
}

void TKlCustomRichEdit::Redo() {
  Perform(EM_REDO, 0, 0);
}

bool TKlCustomRichEdit::CanRedo() {
  return Perform(EM_CANREDO, 0, 0) != 0;
}

bool TKlCustomRichEdit::CanPaste() const {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  return mime && (mime->hasText() || mime->hasFormat("text/rtf"));
}

bool TKlCustomRichEdit::HasText() {
  return TextLength() > 0;
}

int TKlCustomRichEdit::TextLength() {
  GETTEXTLENGTHEX ask{GTL_NUMCHARS, 0};
  return int(std::max<LRESULT>(Perform(EM_GETTEXTLENGTHEX, WPARAM(&ask), 0), 0));
}

void TKlCustomRichEdit::SetFocus() {
  HandleNeeded();
  control_->setFocus();
}

bool TKlCustomRichEdit::Focused() const {
  return control_ && control_->hasFocus();
}


// ---- Overridable operations ---------------------------------------------------------------

void TKlCustomRichEdit::NotifyTextNotFound(TFindDialog* Dialog) {
  Raise(OnTextNotFound, this, Dialog->FindText());
}

void TKlCustomRichEdit::NotifyResizeRequest(const TRect& Rect) {
  Raise(OnResizeRequest, this, Rect);
}

void TKlCustomRichEdit::SetPlainText(bool value) {
  if (plainText_ == value) return;
  if (control_ && RichEditVersion() >= 2) {
    TMemoryStream content;
    Restorer<TRichStreamFormat> keepFormat(lines_->format_);
    Restorer<TRichStreamModes> keepMode(lines_->mode_);
    lines_->SetStreamFormat(value || Designing() ? TRichStreamFormat::sfPlainText
                                                 : TRichStreamFormat::sfRichText);
    lines_->SetStreamMode({});
    lines_->SaveToStream(content);
    content.SetPosition(0);
    lines_->SetChangeNotification(false);
    try {
      Perform(WM_SETTEXT, 0, AsLParam(""));
      ApplyTextMode(value);
      plainText_ = value;
    } catch (...) {
      lines_->SetChangeNotification(true);
      throw;
    }
    lines_->SetChangeNotification(true);
    lines_->LoadFromStream(content);
  }
  plainText_ = value;
}

void TKlCustomRichEdit::NotifyFindDialogClosed(TFindDialog* Dialog) {
  Raise(OnCloseFindDialog, this, Dialog);
}

void TKlCustomRichEdit::NotifySelectionChange() {
  Raise(OnSelectionChange, this);
}

bool TKlCustomRichEdit::AskProtectChange(const TMessage& Message, int StartPos, int EndPos) {
  bool allowChange = false;
  if (OnProtectChangeEx)
    OnProtectChangeEx(this, Message, StartPos, EndPos, allowChange);
  else
    Raise(OnProtectChange, this, StartPos, EndPos, allowChange);
  return allowChange;
}

bool TKlCustomRichEdit::AskSaveClipboard(int NumObj, int NumChars) {
  bool save = true;
  Raise(OnSaveClipboard, this, NumObj, NumChars, save);
  return save;
}

void TKlCustomRichEdit::NotifyURLClick(const std::string& URLText, TMouseButton Button) {
  Raise(OnURLClick, this, URLText, Button);
}

void TKlCustomRichEdit::Change() {
  Raise(OnChange, this);
}

}  // namespace kl
