// The control's one message switch: each message the control answers has its case and its
// handler; every other message takes the one path for unsupported messages and answers 0.

#include <QDebug>

#include "platform/richedit/RichEditEngine.h"

namespace richedit {

LRESULT RichEditEngine::dispatch(UINT msg, WPARAM w, LPARAM l) {
  NotifyBatch batch(notifier_);
  switch (msg) {
    // Selection and positions
    case EM_EXGETSEL:
      return onExGetSel(l);
    case EM_EXSETSEL:
      return onExSetSel(l);
    case EM_GETSEL:
      return onGetSel(w, l);
    case EM_SETSEL:
      return onSetSel(w, l);
    case EM_SCROLLCARET:
      return onScrollCaret();
    case EM_POSFROMCHAR:
      return onPosFromChar(w, l);
    case EM_CHARFROMPOS:
      return onCharFromPos(l);
    case EM_SELECTIONTYPE:
      return onSelectionType();
    case EM_HIDESELECTION:
      return onHideSelection(w);
    // Text
    case WM_SETTEXT:
      return onSetText(l);
    case WM_GETTEXT:
      return onGetText(w, l);
    case WM_GETTEXTLENGTH:
      return onGetTextLength();
    case EM_GETTEXTLENGTHEX:
      return onGetTextLengthEx(w);
    case EM_GETTEXTRANGE:
      return onGetTextRange(l);
    case EM_REPLACESEL:
      return onReplaceSel(w, l);
    case EM_EXLIMITTEXT:
      return onExLimitText(l);
    case EM_LIMITTEXT:
      return onExLimitText(LPARAM(w));
    case EM_GETLIMITTEXT:
    case EM_GETLIMITTEXT_RICHEDIT:
      return textLimit_;
    case EM_GETSELTEXT:
      return onGetSelText(l);
    case EM_GETTEXTEX:
      return onGetTextEx(w, l);
    case EM_SETTEXTEX:
      return onSetTextEx(w, l);
    case EM_FINDWORDBREAK:
      return onFindWordBreak(w, l);
    case EM_GETMODIFY:
      return onGetModify();
    case EM_SETMODIFY:
      return onSetModify(w);
    // Display lines
    case EM_GETLINECOUNT:
      return onGetLineCount();
    case EM_LINEINDEX:
      return onLineIndex(w);
    case EM_LINELENGTH:
      return onLineLength(w);
    case EM_LINEFROMCHAR:
      return onLineFromChar(LPARAM(w));
    case EM_EXLINEFROMCHAR:
      return onLineFromChar(l);
    case EM_GETLINE:
      return onGetLine(w, l);
    // Formats
    case EM_GETCHARFORMAT:
      return onGetCharFormat(w, l);
    case EM_SETCHARFORMAT:
      return onSetCharFormat(w, l);
    case EM_GETPARAFORMAT:
      return onGetParaFormat(l);
    case EM_SETPARAFORMAT:
      return onSetParaFormat(l);
    // Settings
    case EM_SETEVENTMASK:
      return onSetEventMask(l);
    case EM_GETEVENTMASK:
      return notifier_.mask();
    case EM_SETBKGNDCOLOR:
      return onSetBkgndColor(w, l);
    case EM_GETOPTIONS:
      return options_;
    case EM_SETOPTIONS:
      return onSetOptions(w, l);
    case EM_AUTOURLDETECT:
      return onAutoUrlDetect(w);
    case EM_GETAUTOURLDETECT:
      return autoUrl_ ? 1 : 0;
    case EM_SETUNDOLIMIT:
      return onSetUndoLimit(w);
    case EM_SETTEXTMODE:
      return onSetTextMode(w);
    case EM_GETTEXTMODE:
      return LRESULT(textMode_);
    case EM_SETLANGOPTIONS:
      return onSetLangOptions(l);
    case EM_GETLANGOPTIONS:
      return langOptions_;
    case EM_SETOLECALLBACK:
      return onSetOleCallback(l);
    case EM_GETOLEINTERFACE:
      return onGetOleInterface(l);
    case WM_SETREDRAW:
      return onSetRedraw(w);
    case EM_SETREADONLY:
      return onSetReadOnly(w);
    case EM_REQUESTRESIZE:
      return onRequestResize();
    case EM_GETZOOM:
      return onGetZoom(w, l);
    case EM_SETZOOM:
      return onSetZoom(w, l);
    // Undo
    case EM_UNDO:
    case WM_UNDO:
      return onUndo();
    case EM_REDO:
      return onRedo();
    case EM_CANUNDO:
      return undo_.canUndo() ? 1 : 0;
    case EM_CANREDO:
      return undo_.canRedo() ? 1 : 0;
    case EM_EMPTYUNDOBUFFER:
      return onEmptyUndoBuffer();
    // Find
    case EM_FINDTEXT:
      return onFindText(w, l);
    case EM_FINDTEXTEX:
      return onFindTextEx(w, l);
    // Printing
    case EM_FORMATRANGE:
      return onFormatRange(w, l);
    case EM_STOPGROUPTYPING:
      return onStopGroupTyping();
    // Streams
    case EM_STREAMIN:
      return onStreamIn(w, l);
    case EM_STREAMOUT:
      return onStreamOut(w, l);
    // Clipboard
    case WM_CUT:
      return onCut();
    case WM_COPY:
      return onCopy();
    case WM_PASTE:
      return onPaste();
    case WM_CLEAR:
      return onClearSelection();
    case EM_CANPASTE:
      return onCanPaste(w);
    default:
      return unsupported(msg);
  }
}

// Named in the debug trace, so that a silent 0 is never taken for an answer.
LRESULT RichEditEngine::unsupported(UINT msg) {
  qDebug("rich-edit control: message %u (0x%04X) is not supported; answering 0", msg, msg);
  return 0;
}

}  // namespace richedit
