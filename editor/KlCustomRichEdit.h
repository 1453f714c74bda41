#pragma once
// The editor control: a widget hosting the platform's rich-edit window, created on first need,
// that turns the component's properties into window styles and messages and the window's
// notifications into the component's events. It reaches the window only through messages.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "editor/Conversion.h"
#include "editor/KlRichEdTypes.h"
#include "framework/Font.h"
#include "framework/Object.h"
#include "framework/Types.h"

class QKeyEvent;
#include "platform/richedit/RichEditControl.h"

namespace richedit {
class IRichEditOle;
}

class QMenu;

namespace kl {

class TFindDialog;
class TReplaceDialog;
class TKlTextAttributes;
class TKlParaAttributes;
class TRichEditStrings;
class TRichEditOleCallback;
class TMemoryStream;
class TStrings;

// What the window is created with: the class asked for and its styles.
struct TCreateParams {
  std::string WinClassName;
  std::uint32_t Style = 0;
  std::uint32_t WindowClassStyle = 0;
};

class TKlCustomRichEdit : public QWidget, public TObject, public richedit::RichEditNotifySink {
 public:
  using MessageHook =
      std::function<void(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)>;

  explicit TKlCustomRichEdit(QWidget* parent = nullptr);
  ~TKlCustomRichEdit() override;

  // ---- The window -------------------------------------------------------------------------
  bool HandleAllocated() const { return control_ != nullptr; }
  // Creates the window when it does not exist yet.
  void HandleNeeded();
  // Destroys and creates the window again, keeping text, formatting and Modified.
  void RecreateWnd();
  richedit::RichEditControl* Control() const { return control_.get(); }
  // Sends a message to the window (creating it first), through the component's own handling
  // of EM_REPLACESEL and WM_SETFONT.
  std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // Seen by every window this component creates, before it handles a message (for tests).
  void SetMessageHook(MessageHook hook);

  // ---- Memo properties --------------------------------------------------------------------
  std::string Text();
  void SetText(const std::string& text);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool UseRightToLeftAlignment() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }
  bool Modified();
  void SetModified(bool value);

  // ---- Selection, lines and positions (positions count UTF-16 code units) -----------------
  int SelectionStart();
  void SetSelectionStart(int value);
  int SelectionLength();
  void SetSelectionLength(int value);
  std::string SelectedText();
  // Replaces the selection; the new text is left selected and, where the undo limit allows,
  // can be undone.
  void SetSelectedText(const std::string& text);
  // Copies the selected text (UTF-8, cut to whole characters) into buffer with a terminating
  // zero; answers the number of bytes copied.
  int GetSelTextBuf(char* buffer, int bufSize);
  TPoint CaretPosition();  // x: column, y: line, at the end of the selection
  void SetSelection(int start, int end, ScrollCaret scroll);
  int LineFromChar(int charIndex);
  int LineIndex(int line);  // -1 when the line does not exist; line -1: the caret's line
  int LineLength(int charIndex);
  std::string TextRange(int start, int end);
  TPoint CharPosition(int charIndex);
  TSelectionTypes SelectionType();
  void Clear();

  // ---- Editor properties ------------------------------------------------------------------
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool HideScrollBars() const { return hideScrollBars_; }
  void SetHideScrollBars(bool value);
  bool SelectionBar() const { return selectionBar_; }
  void SetSelectionBar(bool value);
  bool AllowObjects() const { return allowObjects_; }
  void SetAllowObjects(bool value);
  bool AllowInPlace() const { return allowInPlace_; }
  void SetAllowInPlace(bool value) { allowInPlace_ = value; }
  bool AutoVerbMenu() const { return autoVerbMenu_; }
  void SetAutoVerbMenu(bool value) { autoVerbMenu_ = value; }
  bool AutoURLDetect();
  void SetAutoURLDetect(bool value);
  bool WordSelection();
  void SetWordSelection(bool value);
  TRichLangOptions LangOptions();
  void SetLangOptions(TRichLangOptions value);
  int UndoLimit() const { return undoLimit_; }
  void SetUndoLimit(int value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  void ApplyTextMode(bool plain);
  void UpdateHostNames();
  bool PlainText() const { return plainText_; }
  TRichStreamFormat StreamFormat() const;
  void SetStreamFormat(TRichStreamFormat value);
  TRichStreamModes StreamMode() const;
  void SetStreamMode(TRichStreamModes value);
  TRichEditStrings& Lines() { return *lines_; }
  void SetLines(const TStrings& lines);
  TKlTextAttributes& SelectionAttributes() { return *selectionAttributes_; }
  TKlTextAttributes& DefaultAttributes() { return *defaultAttributes_; }
  TKlTextAttributes& CaretWordAttributes() { return *caretWordAttributes_; }
  TKlParaAttributes& ParagraphAttributes() { return *paragraphAttributes_; }
  TRect PrintPageRect() const { return printPageRect_; }
  void SetPrintPageRect(const TRect& rect) { printPageRect_ = rect; }
  QMenu* VerbMenu() const { return verbMenu_; }
  // The menu the host window assigned for right clicks, or none (not owned).
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
  // The control's object interface, kept while the window exists (AllowObjects).
  richedit::IRichEditOle* RichEditOle() const { return richEditOle_; }
  TRichEditOleCallback& OleCallback() const { return *callback_; }
  TConversionClass DefaultConverter() const { return defaultConverter_; }
  void SetDefaultConverter(TConversionClass converter) { defaultConverter_ = std::move(converter); }
  // Set by the lines object around its own replacements, which are neither undoable nor left
  // selected.
  bool LinesUpdating() const { return linesUpdating_; }
  void SetLinesUpdating(bool value) { linesUpdating_ = value; }

  // ---- Standard edit commands -------------------------------------------------------------
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void Undo();
  bool CanUndo();
  void Redo();
  bool CanRedo();
  bool CanPaste() const;  // the clipboard holds text
  bool HasText();
  int TextLength();  // in positions, one per paragraph break
  void SetFocus();
  bool Focused() const;

  // ---- Embedded objects (KlObjects.cpp, KlObjectProperties.cpp) ---------------------------
  // Closes every object without saving, the last first: before the text goes.
  void CloseAllObjects();
  // The menu for a context-menu request: PopupMenu, extended with the selected object's verbs
  // and properties, or the verb menu alone; none when there is nothing to show.
  QMenu* EffectivePopupMenu();
  // Click handlers of the verb items and of the properties item.
  void RunObjectVerb(QAction* item);
  void ObjectPropertiesClick();
  // The object properties dialog for the selected object; true when closed with OK.
  bool ShowObjectProperties();
  // Whether this control holds the form's object that is active in place.
  void SetInPlaceActive(bool active);
  // Shows the menu for a context-menu request at a screen point; false when there is none.
  bool PopupContextMenu(const QPoint& screenPos);
  // Where menus pop up (tests replace it; by default the menu runs modally at the point).
  std::function<void(QMenu&, const QPoint&)> PopupHook;

  // ---- Find and replace (KlFindReplace.cpp) -----------------------------------------------
  // Shows the component's own modeless dialogs, creating them on first use; a non-empty text
  // replaces the one the dialog shows.
  TFindDialog* ShowFindDialog(const std::string& SearchText);
  TReplaceDialog* ShowReplaceDialog(const std::string& SearchText, const std::string& ReplaceText);
  // Repeats the last dialog search from the selection; false when there was none or no hit.
  bool FindAgain();
  bool CanFindAgain();
  // One search through the control: answers the hit's position or -1.
  int LocateText(const std::string& SearchText, int StartPos, int Length,
                 TRichSearchOptions Options);
  bool SearchWithDialog(TFindDialog* Dialog, bool MoveDialog, bool ReportMiss);
  // Moves the dialog up or down when it covers the selected hit.
  void MoveDialogOffMatch(TFindDialog* Dialog);
  void PrepareSearchDialog(TFindDialog* Dialog, const std::string& SearchText,
                           const std::string& ReplaceText);
  void HandleDialogFind(TObject* Sender);
  void HandleDialogReplace(TObject* Sender);
  void HandleDialogClose(TObject* Sender);
  TFindDialog* OwnFindDialog() const;
  TReplaceDialog* OwnReplaceDialog() const;
  TFindDialog* LastSearchDialog() const { return lastSearchDialog_; }

  // ---- Events -----------------------------------------------------------------------------
  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChange;
  TRichEditURLClickEvent OnURLClick;
  TRichEditProtectChange OnProtectChange;
  TRichEditProtectChangeEx OnProtectChangeEx;
  TRichEditResizeEvent OnResizeRequest;
  TRichEditSaveClipboard OnSaveClipboard;
  TRichEditFindErrorEvent OnTextNotFound;
  TRichEditFindCloseEvent OnCloseFindDialog;

  // ---- Overridable operations -------------------------------------------------------------
  virtual void NotifyTextNotFound(TFindDialog* Dialog);
  virtual void NotifyResizeRequest(const TRect& Rect);
  virtual void SetPlainText(bool value);
  virtual void NotifyFindDialogClosed(TFindDialog* Dialog);
  // Prints the whole text as one job of that title on the application's printer
  // (KlPrint.cpp); a printer failure gives the job up and reaches the caller.
  virtual void PrintDocument(const std::string& Caption);
  virtual void NotifySelectionChange();
  virtual bool AskProtectChange(const TMessage& Message, int StartPos, int EndPos);
  virtual bool AskSaveClipboard(int NumObj, int NumChars);
  virtual void NotifyURLClick(const std::string& URLText, TMouseButton Button);

 protected:
  virtual void Change();
  virtual void CreateParams(TCreateParams& params) const;
  virtual void CreateWnd();
  // Saves the content for the next creation, then destroys the window.
  virtual void DestroyWnd();
  // The component's handling of a message before (or instead of) the window's.
  virtual std::intptr_t WndProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
  // There is no design mode in this program: the window is always at run time.
  bool Designing() const { return false; }

  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool TypeKey(QObject& target, QKeyEvent& key);
  bool MouseOverText(QEvent& event);

  // What the window reports: EN_CHANGE, and the WM_NOTIFY records, whose answer goes back.
  void onCommandNotify(richedit::WORD code) override;
  richedit::LRESULT onNotify(richedit::NMHDR& header) override;

 private:
  richedit::LRESULT HandleLink(const richedit::NMHDR& header);
  std::intptr_t ReplaceSelection(std::uintptr_t wParam, std::intptr_t lParam);
  void ApplyMaxLength();
  void ApplyWordSelection();
  void ApplyLangOptions();
  void ApplyBiDiAlignment();
  void ReleaseWindow();
  // Changes a setting that lives in the window style and recreates the window for it.
  template <typename T>
  void RecreateWith(T& field, T value);
  std::string WindowText();

  std::unique_ptr<TRichEditOleCallback> callback_;  // freed last
  std::unique_ptr<TKlTextAttributes> selectionAttributes_;
  std::unique_ptr<TKlTextAttributes> defaultAttributes_;
  std::unique_ptr<TKlTextAttributes> caretWordAttributes_;
  std::unique_ptr<TKlParaAttributes> paragraphAttributes_;
  std::unique_ptr<TRichEditStrings> lines_;
  std::unique_ptr<TMemoryStream> savedContent_;
  std::unique_ptr<richedit::RichEditControl> control_;
  QWidget* keyTarget_ = nullptr;  // the widget inside the window that takes the keys
  QWidget* mouseTarget_ = nullptr;  // the one that takes the mouse
  MessageHook messageHook_;

  TFont font_;
  TColor color_ = clWindow;
  bool readOnly_ = false;
  int maxLength_ = 0;
  bool wantTabs_ = false;
  bool wordTyped_ = false;  // characters were typed since the last blank
  bool wantReturns_ = true;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  bool modified_ = false;  // the flag while there is no window, kept across recreation

  bool hideScrollBars_ = true;
  bool selectionBar_ = true;
  bool hideSelection_ = true;
  bool autoURLDetect_ = true;
  bool wordSelection_ = true;
  bool plainText_ = false;
  TRichLangOptions langOptions_{TRichLangOption::rlAutoFont};
  int undoLimit_ = 100;
  bool allowObjects_ = true;
  bool allowInPlace_ = true;
  bool autoVerbMenu_ = true;
  std::string title_;
  bool linesUpdating_ = false;
  richedit::CHARRANGE clickRange_{-1, -1};
  TMouseButton clickButton_ = TMouseButton::mbLeft;
  TConversionClass defaultConverter_ = MakeDefaultConversion;
  richedit::IRichEditOle* richEditOle_ = nullptr;  // kept while the window exists
  std::unique_ptr<TFindDialog> ownFindDialog_;
  std::unique_ptr<TReplaceDialog> ownReplaceDialog_;
  TFindDialog* lastSearchDialog_ = nullptr;  // one of the two; not owned
  TRect printPageRect_;
  QMenu* verbMenu_ = nullptr;  // owned
  QMenu* popupMenu_ = nullptr;
};

}  // namespace kl
