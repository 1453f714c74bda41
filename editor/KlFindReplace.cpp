// The editor's find and replace: its own modeless dialogs, one search at a time through the
// control's find message, Find Again, Replace and Replace All.

#include <QGuiApplication>
#include <QScreen>
#include <exception>

#include "editor/KlCustomRichEdit.h"
#include "editor/KlRichEd.h"
#include "editor/RichEditStrings.h"
#include "framework/dialogs/FindDialog.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

// Switches the control's change notification off for a scope and back on however it ends,
// and keeps the selection-change handler detached for as long.
class QuietEdits {
 public:
  QuietEdits(TRichEditStrings& lines, TNotifyEvent& onSelectionChange)
      : lines_(lines), event_(onSelectionChange), kept_(std::move(onSelectionChange)) {
    lines_.SetChangeNotification(false);
    event_ = nullptr;
  }
  ~QuietEdits() {
    lines_.SetChangeNotification(true);
    event_ = std::move(kept_);
  }
  QuietEdits(const QuietEdits&) = delete;
  QuietEdits& operator=(const QuietEdits&) = delete;

 private:
  TRichEditStrings& lines_;
  TNotifyEvent& event_;
  TNotifyEvent kept_;
};

// Keeps the control from redrawing, and so from laying out every paragraph it changes, while
// Replace All runs; what is shown is laid out once afterwards.
class HeldRedraw {
 public:
  explicit HeldRedraw(TKlCustomRichEdit& edit) : edit_(edit) { edit_.Perform(WM_SETREDRAW, 0, 0); }
  ~HeldRedraw() { edit_.Perform(WM_SETREDRAW, 1, 0); }
  HeldRedraw(const HeldRedraw&) = delete;
  HeldRedraw& operator=(const HeldRedraw&) = delete;

 private:
  TKlCustomRichEdit& edit_;
};

bool Inside(const TPoint& p, const TRect& r) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

}  // namespace

TFindDialog* TKlCustomRichEdit::OwnFindDialog() const {
  return ownFindDialog_.get();
}

TReplaceDialog* TKlCustomRichEdit::OwnReplaceDialog() const {
  return ownReplaceDialog_.get();
}

TFindDialog* TKlCustomRichEdit::ShowFindDialog(const std::string& SearchText) {
  if (!ownFindDialog_) {
    ownFindDialog_ = std::make_unique<TFindDialog>(this);
    if (ownReplaceDialog_) ownFindDialog_->SetFindText(ownReplaceDialog_->FindText());
  }
  PrepareSearchDialog(ownFindDialog_.get(), SearchText, {});
  ownFindDialog_->Execute();
  return ownFindDialog_.get();
}

TReplaceDialog* TKlCustomRichEdit::ShowReplaceDialog(const std::string& SearchText,
                                                     const std::string& ReplaceText) {
  if (!ownReplaceDialog_) {
    ownReplaceDialog_ = std::make_unique<TReplaceDialog>(this);
    if (ownFindDialog_) ownReplaceDialog_->SetFindText(ownFindDialog_->FindText());
  }
  PrepareSearchDialog(ownReplaceDialog_.get(), SearchText, ReplaceText);
  ownReplaceDialog_->Execute();
  return ownReplaceDialog_.get();
}

void TKlCustomRichEdit::PrepareSearchDialog(TFindDialog* Dialog, const std::string& SearchText,
                                            const std::string& ReplaceText) {
  if (!SearchText.empty()) Dialog->SetFindText(SearchText);
  if (RichEditVersion() == 1) {
    // The older control searches downward only.
    Dialog->Options.include(TFindOption::frDown).include(TFindOption::frHideUpDown);
  }
  Dialog->OnFind = [this](TObject* sender) { HandleDialogFind(sender); };
  Dialog->OnClose = [this](TObject* sender) { HandleDialogClose(sender); };
  if (auto* replace = dynamic_cast<TReplaceDialog*>(Dialog)) {
    if (!ReplaceText.empty()) replace->SetReplaceText(ReplaceText);
    replace->OnReplace = [this](TObject* sender) { HandleDialogReplace(sender); };
  }
}

bool TKlCustomRichEdit::CanFindAgain() {
  return HandleAllocated() && lastSearchDialog_ && !lastSearchDialog_->FindText().empty();
}

bool TKlCustomRichEdit::FindAgain() {
  if (!CanFindAgain()) return false;
  return SearchWithDialog(lastSearchDialog_, false, true);
}

int TKlCustomRichEdit::LocateText(const std::string& SearchText, int StartPos, int Length,
                                  TRichSearchOptions Options) {
  FINDTEXTEXA find{};
  find.chrg.cpMin = StartPos;
  find.chrg.cpMax = StartPos + (Length < 0 ? -Length : Length);
  find.lpstrText = SearchText.c_str();
  WPARAM flags = 0;
  if (RichEditVersion() >= 2) {
    if (!Options.contains(TRichSearchOption::soBackward)) flags |= FR_DOWN;
  } else {
    Options.exclude(TRichSearchOption::soBackward);
  }
  if (Options.contains(TRichSearchOption::soWholeWord)) flags |= FR_WHOLEWORD;
  if (Options.contains(TRichSearchOption::soMatchCase)) flags |= FR_MATCHCASE;
  const int result = int(Perform(EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find)));
  if (result >= 0 && Options.contains(TRichSearchOption::soSelectMatch)) {
    Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    Perform(EM_SCROLLCARET, 0, 0);
  }
  return result;
}

bool TKlCustomRichEdit::SearchWithDialog(TFindDialog* Dialog, bool MoveDialog, bool ReportMiss) {
  TRichSearchOptions options{TRichSearchOption::soSelectMatch};
  const int selStart = SelectionStart();
  const int selEnd = selStart + SelectionLength();
  int start = 0;
  int length = 0;
  if (Dialog->Options.contains(TFindOption::frDown)) {
    // From the end of the selection to at least the end of the text.
    start = std::max(selStart, selEnd);
    length = int(Perform(WM_GETTEXTLENGTH, 0, 0)) - start + 1;
  } else {
    options.include(TRichSearchOption::soBackward);
    start = std::min(selStart, selEnd);
    length = start + 1;
  }
  if (Dialog->Options.contains(TFindOption::frMatchCase))
    options.include(TRichSearchOption::soMatchCase);
  if (Dialog->Options.contains(TFindOption::frWholeWord))
    options.include(TRichSearchOption::soWholeWord);
  const bool found = LocateText(Dialog->FindText(), start, length, options) >= 0;
  if (!Dialog->FindText().empty()) lastSearchDialog_ = Dialog;
  if (found) {
    if (MoveDialog) MoveDialogOffMatch(Dialog);
  } else if (ReportMiss) {
    NotifyTextNotFound(Dialog);
  }
  return found;
}

void TKlCustomRichEdit::MoveDialogOffMatch(TFindDialog* Dialog) {
  if (!Dialog->Handle() || !control_) return;
  const int selStart = SelectionStart();
  const int selLength = SelectionLength();
  auto toScreen = [this](const TPoint& p) {
    const QPoint g = control_->mapToGlobal(QPoint(p.x, p.y));
    return TPoint{g.x(), g.y()};
  };
  const TPoint a = toScreen(CharPosition(selStart));
  TPoint b = toScreen(CharPosition(selStart + selLength));
  b.y += 20;
  TRect r = Dialog->WindowRect();
  const int height = r.Bottom - r.Top;
  if (!Inside(a, r) && !Inside(b, r)) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenHeight = screen ? screen->geometry().height() : 0;
  int dy = 0;
  if (a.y > height + 20) {
    dy = a.y - r.Bottom - 20;  // the dialog's bottom edge 20 pixels above the hit
  } else if (a.y + height < screenHeight) {
    dy = a.y + 40 - r.Top;  // its top edge 40 pixels below the top of the hit
  }
  Dialog->SetPosition({r.Left, r.Top + dy});
}

void TKlCustomRichEdit::HandleDialogFind(TObject* Sender) {
  SearchWithDialog(static_cast<TFindDialog*>(Sender), true, true);
}

void TKlCustomRichEdit::HandleDialogClose(TObject* Sender) {
  NotifyFindDialogClosed(static_cast<TFindDialog*>(Sender));
}

void TKlCustomRichEdit::HandleDialogReplace(TObject* Sender) {
  auto* dialog = static_cast<TReplaceDialog*>(Sender);
  if (dialog->Options.contains(TFindOption::frReplaceAll)) {
    int count = 0;
    std::exception_ptr failure;
    {
      // The host hears of the whole Replace All once, after it, not of every replacement.
      QuietEdits quiet(*lines_, OnSelectionChange);
      try {
        {
          HeldRedraw held(*this);
          while (SearchWithDialog(dialog, false, false)) {
            SetSelectedText(dialog->ReplaceText());
            ++count;
          }
        }
        if (count == 0)
          NotifyTextNotFound(dialog);
        else
          MoveDialogOffMatch(dialog);
      } catch (...) {
        failure = std::current_exception();
      }
    }
    if (count > 0) {
      Change();
      NotifySelectionChange();
    }
    if (failure) std::rethrow_exception(failure);
  } else if (dialog->Options.contains(TFindOption::frReplace)) {
    if (SearchWithDialog(dialog, true, true)) SetSelectedText(dialog->ReplaceText());
  }
}

}  // namespace kl
