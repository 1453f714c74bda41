#pragma once
// The engine behind the rich-edit window: the document, the selection, the control's settings
// and one handler per message. Its handlers are split by concern over these files:
//   RichEditDispatch.cpp     the message switch, one case per message
//   EngineSelection.cpp      selection, caret scrolling, positions and coordinates
//   EngineText.cpp           text get/set, ranges, replace-selection, the text limit
//   EngineTextEx.cpp         EM_GETSELTEXT, EM_GETTEXTEX, EM_SETTEXTEX
//   EngineWordBreak.cpp      EM_FINDWORDBREAK
//   EngineLines.cpp          display-line queries over LineMap
//   EngineCharFormat.cpp     EM_GET/SETCHARFORMAT over CharFormatMapping
//   EngineParaFormat.cpp     EM_GET/SETPARAFORMAT over ParaFormatMapping
//   EngineSettings.cpp       event mask, options, colours, undo, text mode, objects
//   EngineStream.cpp         EM_STREAMIN / EM_STREAMOUT
//   EngineClipboard.cpp      cut, copy, paste and the clipboard's ownership
//   EngineProtection.cpp     protected text and link mouse messages
//   EngineInputFilter.cpp    the person's keyboard and mouse input put to the host first
//   EngineFind.cpp           EM_FINDTEXT / EM_FINDTEXTEX over TextSearch
//   EnginePrint.cpp          EM_FORMATRANGE over PrintLayout
// Beside it: RichEditView (the widget a person types into), ParagraphLayout and PictureObject
// (layout and painting), LinkHighlighter and UrlDetector (links shown as links), UndoLimiter,
// TextConversion (text and bytes at the interface) and DocumentFormat.h (how formats are kept).
// Notifications go out through Notifier, which folds a message's changes into one EN_CHANGE
// and one EN_SELCHANGE sent when the message (or the user's action) is complete.

#include <QObject>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <memory>
#include <optional>

#include "platform/richedit/LineMap.h"
#include "platform/richedit/Notifier.h"
#include "platform/richedit/RichEditControl.h"
#include "platform/richedit/RichEditOle.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/TextLengthCache.h"
#include "platform/richedit/UndoLimiter.h"

class QImage;
class QKeyEvent;
class QMimeData;
class QWheelEvent;
class QTextDocument;

namespace richedit {

class RichEditView;
class LinkHighlighter;
class PrintLayout;

// Whether dropped data moves the selection (dragged from this control) or is a copy.
enum class DropMove { No, Yes };

// Whether an edit may be undone; false also empties the undo history, as the platform does.
enum class CanUndo { No, Yes };

class RichEditEngine : public QObject {
 public:
  RichEditEngine(RichEditControl& control, RichEditView& view, DWORD style);
  ~RichEditEngine() override;

  LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  void setNotifySink(RichEditNotifySink* sink) { notifier_.setSink(sink); }
  void setMessageHook(RichEditControl::MessageHook hook) { hook_ = std::move(hook); }
  const RichEditControl::MessageHook& messageHook() const { return hook_; }
  DWORD style() const { return style_; }
  Notifier& notifier() { return notifier_; }

  // ---- Services the view calls for the person's input ----
  // Whether typing `text` over the selection stays within the limit and protection.
  bool allowTyping(const QString& text, UINT msg, WPARAM key);
  // Whether deleting [from, to) is allowed (protection); msg is what the person did.
  bool allowDelete(int from, int to, UINT msg, WPARAM key);
  bool undo();
  bool redo();
  void selectAll();  // the final paragraph mark included, as the platform selects all
  void cut();
  void copy();
  void paste();
  void pasteFrom(const QMimeData& mime);
  bool canPaste(const QMimeData* mime) const;
  // Drag and drop: a drop at a position, and the removal a move out of the control makes.
  bool drop(const QMimeData& mime, int pos, DropMove move);
  bool removeDragged(int from, int to);
  QMimeData* mimeForSelection() const;
  // A mouse message at a viewport point; answers true when the host took it (no default).
  bool mouseOverLink(UINT msg, const QPoint& viewportPos, Qt::KeyboardModifiers mods,
                     Qt::MouseButtons buttons);
  // The person's keyboard and mouse input goes to the host first when the event mask asks for
  // it (EN_MSGFILTER); true when the host took it, and the control must leave it alone.
  bool hostTakesKey(UINT msg, const QKeyEvent& event);  // WM_KEYDOWN, WM_KEYUP or WM_CHAR
  bool hostTakesMouse(UINT msg, const QPoint& viewportPos, Qt::KeyboardModifiers mods,
                      Qt::MouseButtons buttons);
  bool hostTakesWheel(const QWheelEvent& event);
  void viewResized();
  void aboutToBeDestroyed();  // EN_SAVECLIPBOARD while the control still exists

  // ---- Helpers shared by the handler files ----
  QTextDocument& doc() const { return *doc_; }
  RichEditView& view() const { return view_; }
  int textLength() const;  // in positions, without the final paragraph mark
  QTextCursor cursor() const;
  void setCursor(const QTextCursor& cursor);
  CHARRANGE selection() const;  // as the platform reports it (may include the final mark)
  // A position range clamped into the document.
  QTextCursor rangeCursor(int from, int to) const;
  QString textOf(int from, int to) const;  // CR for breaks, VT for line breaks
  QTextCharFormat defaultCharFormat() const { return defaultFormat_; }
  bool plainTextMode() const { return (textMode_ & TM_PLAINTEXT) != 0; }
  bool autoUrlDetect() const { return autoUrl_; }
  bool autoWordSelection() const { return (options_ & ECO_AUTOWORDSELECTION) != 0; }
  // The link under a position: an explicit link or a detected address.
  std::optional<CHARRANGE> linkAt(int pos) const;
  std::optional<CHARRANGE> linkAtPoint(const QPoint& viewportPos) const;
  // How much of [from, to) the addresses that URL detection found cover.
  enum class LinkCover { None, Some, All };
  LinkCover detectedLinkCover(int from, int to) const;
  // The paragraph format of a new or emptied control: left, or the alignment of its style.
  QTextBlockFormat defaultBlockFormat() const;
  // Deletes the cursor's selection. All the text with the final paragraph mark leaves one empty
  // paragraph in the default paragraph format, as the platform's control does; what is typed
  // or inserted next keeps the character format the selection had.
  void removeSelected(QTextCursor& cursor);
  // Before a key replaces or deletes the selection: the whole text with its final mark goes by
  // removeSelected, so that the key meets an emptied paragraph.
  void removeWholeSelection();
  // Replaces the selection with plain text in the insertion format; used by typing-like paths.
  void insertPlain(QTextCursor& cursor, const QString& text);
  // Applies one key (or input method event) of the person's; typed text joins the typing
  // before it in one undo step, any other edit is a step of its own.
  enum class KeyEdit { Typing, Other };
  template <typename Apply>
  void applyKey(KeyEdit kind, Apply&& apply) {
    QTextCursor block = cursor();
    block.beginEditBlock();  // the document never merges this key's edit with another
    keyEdit_ = kind;
    if (kind == KeyEdit::Typing) undo_.typingStarts();
    apply();
    block.endEditBlock();  // the step is recorded here, still as this key's
    undo_.typingEnds();
    keyEdit_.reset();
  }
  // The caret left the typing (focus went elsewhere): what comes next is a new step.
  void stopTyping() { undo_.stopTyping(); }

 private:
  // Every message the control does not answer comes here.
  static LRESULT unsupported(UINT msg);

  // Find (EngineFind.cpp)
  LRESULT onFindText(WPARAM flags, LPARAM record);
  LRESULT onFindTextEx(WPARAM flags, LPARAM record);
  LRESULT findText(WPARAM flags, const CHARRANGE& range, const char* needle);

  // Printing (EnginePrint.cpp)
  LRESULT onFormatRange(WPARAM render, LPARAM record);

  // Selection and positions (EngineSelection.cpp)
  LRESULT onExGetSel(LPARAM range);
  LRESULT onExSetSel(LPARAM range);
  LRESULT onGetSel(WPARAM start, LPARAM end);
  LRESULT onSetSel(WPARAM start, LPARAM end);
  LRESULT onScrollCaret();
  LRESULT onPosFromChar(WPARAM wParam, LPARAM lParam);
  LRESULT onCharFromPos(LPARAM point);
  LRESULT onSelectionType();
  LRESULT onHideSelection(WPARAM hide);
  LRESULT setSelectionRange(LONG cpMin, LONG cpMax);
  QPoint clientPosOf(int pos) const;

  // Text (EngineText.cpp)
  LRESULT onSetText(LPARAM text);
  LRESULT onGetText(WPARAM size, LPARAM buffer);
  LRESULT onGetTextLength();
  LRESULT onGetTextLengthEx(WPARAM info);
  LRESULT onGetTextRange(LPARAM range);
  LRESULT onReplaceSel(WPARAM canUndo, LPARAM text);
  LRESULT onExLimitText(LPARAM limit);
  LRESULT onGetSelText(LPARAM buffer);  // EngineTextEx.cpp
  LRESULT onGetTextEx(WPARAM info, LPARAM buffer);
  LRESULT onSetTextEx(WPARAM info, LPARAM text);
  LRESULT onFindWordBreak(WPARAM code, LPARAM position);  // EngineWordBreak.cpp
  LRESULT onGetModify();
  LRESULT onSetModify(WPARAM flag);
  // Replaces everything without an undo step; the modify flag stays as it is.
  void replaceWholeText(const QString& text);
  // Empties the document and resets its formats, leaving no undo step.
  void resetDocument();

  // Lines (EngineLines.cpp)
  LRESULT onGetLineCount();
  LRESULT onLineIndex(WPARAM line);
  LRESULT onLineLength(WPARAM pos);
  LRESULT onLineFromChar(LPARAM pos);
  LRESULT onGetLine(WPARAM line, LPARAM buffer);

  // Formats (EngineCharFormat.cpp, EngineParaFormat.cpp)
  LRESULT onGetCharFormat(WPARAM scope, LPARAM record);
  LRESULT onSetCharFormat(WPARAM scope, LPARAM record);
  LRESULT onGetParaFormat(LPARAM record);
  LRESULT onSetParaFormat(LPARAM record);
  void setDefaultCharFormat(const QTextCharFormat& format);

  // Settings (EngineSettings.cpp)
  LRESULT onSetEventMask(LPARAM mask);
  LRESULT onSetBkgndColor(WPARAM useSystem, LPARAM color);
  LRESULT onSetOptions(WPARAM op, LPARAM options);
  LRESULT onAutoUrlDetect(WPARAM on);
  LRESULT onSetUndoLimit(WPARAM limit);
  LRESULT onSetTextMode(WPARAM mode);
  LRESULT onSetLangOptions(LPARAM options);
  LRESULT onSetOleCallback(LPARAM callback);
  LRESULT onGetOleInterface(LPARAM place);
  LRESULT onSetRedraw(WPARAM on);
  LRESULT onSetReadOnly(WPARAM on);
  LRESULT onUndo();
  LRESULT onRedo();
  LRESULT onEmptyUndoBuffer();
  LRESULT onStopGroupTyping();
  LRESULT onRequestResize();
  LRESULT onGetZoom(WPARAM numerator, LPARAM denominator);
  LRESULT onSetZoom(WPARAM numerator, LPARAM denominator);
  void applyOptions();

  // Streams (EngineStream.cpp)
  LRESULT onStreamIn(WPARAM format, LPARAM stream);
  LRESULT onStreamOut(WPARAM format, LPARAM stream);

  // Clipboard (EngineClipboard.cpp)
  LRESULT onCut();
  LRESULT onCopy();
  LRESULT onPaste();
  LRESULT onClearSelection();
  LRESULT onCanPaste(WPARAM format);
  int insertMime(QTextCursor& c, const QMimeData& mime, int room);
  void insertPicture(QTextCursor& c, const QImage& image);

  // Protection (EngineProtection.cpp)
  bool rangeProtected(int from, int to) const;
  // Asks the host about a change of protected text; true when the change may go ahead.
  bool allowChange(int from, int to, UINT msg, WPARAM wParam, LPARAM lParam);
  // Input filter (EngineInputFilter.cpp)
  bool hostTakesInput(DWORD maskBits, UINT msg, WPARAM wParam, LPARAM lParam);

  void requestResize(bool always);
  void sendResize(bool always);
  void onContentsChange(int pos, int removed, int added);
  void onViewSelectionChanged();

  RichEditControl& control_;
  RichEditView& view_;
  QTextDocument* doc_;
  DWORD style_;
  RichEditControl::MessageHook hook_;
  Notifier notifier_;
  LineMap lines_;
  TextLengthCache textBytes_;
  std::unique_ptr<PrintLayout> printLayout_;  // kept between the pages of one print
  UndoLimiter undo_;
  LinkHighlighter* highlighter_ = nullptr;  // owned by the document
  RichEditOle ole_;
  IRichEditOleCallback* oleCallback_ = nullptr;

  QTextCharFormat defaultFormat_;
  bool modified_ = false;
  int suppressModify_ = 0;
  bool selectionPastMark_ = false;  // the selection runs over the final paragraph mark
  bool settingSelection_ = false;
  std::optional<KeyEdit> keyEdit_;  // a key of the person's is being applied
  int requestedHeight_ = -1;
  bool resizeQueued_ = false;
  int askedUndoLimit_ = 100;  // the limit multi-level undo returns to
  LONG textLimit_ = 32767;
  DWORD options_ = 0;
  bool autoUrl_ = false;
  WPARAM textMode_ = TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE;
  DWORD langOptions_ = IMF_AUTOFONT;
  COLORREF background_ = 0xFFFFFF;
  bool hideSelection_ = true;
  QString clipboardOwnerId_;
  int copiedObjects_ = 0;
  int copiedChars_ = 0;
};

}  // namespace richedit
