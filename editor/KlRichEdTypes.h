#pragma once
// The editor component's option sets and the types of its events.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Object.h"
#include "framework/Set.h"
#include "framework/Types.h"

namespace kl {

class TFindDialog;

enum class TRichStreamFormat { sfDefault, sfRichText, sfPlainText };
enum class TRichStreamMode { smSelection, smPlainRtf, smNoObjects, smUnicode };
using TRichStreamModes = TSet<TRichStreamMode>;

// Members in the order of their platform bits IMF_AUTOKEYBOARD, IMF_AUTOFONT,
// IMF_IMECANCELCOMPLETE, IMF_IMEALWAYSSENDNOTIFY.
enum class TRichLangOption {
  rlAutoKeyboard,
  rlAutoFont,
  rlImeCancelComplete,
  rlImeAlwaysSendNotify
};
using TRichLangOptions = TSet<TRichLangOption>;

// Members in the order of the bits SEL_TEXT, SEL_OBJECT, SEL_MULTICHAR, SEL_MULTIOBJECT.
enum class TSelectionType { stText, stObject, stMultiChar, stMultiObject };
using TSelectionTypes = TSet<TSelectionType>;

enum class ScrollCaret { No, Yes };

// How LocateText searches, in this order: whole words only (FR_WHOLEWORD), case differs
// (FR_MATCHCASE), toward the start (FR_DOWN is then not sent), select and show the hit.
enum class TRichSearchOption { soWholeWord, soMatchCase, soBackward, soSelectMatch };
using TRichSearchOptions = TSet<TRichSearchOption>;

using TRichEditURLClickEvent =
    std::function<void(TObject* Sender, const std::string& URLText, TMouseButton Button)>;
using TRichEditProtectChange =
    std::function<void(TObject* Sender, int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditProtectChangeEx = std::function<void(TObject* Sender, const TMessage& Message,
                                                    int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditResizeEvent = std::function<void(TObject* Sender, const TRect& Rect)>;
using TRichEditSaveClipboard =
    std::function<void(TObject* Sender, int NumObjects, int NumChars, bool& SaveClipboard)>;
using TRichEditFindErrorEvent = std::function<void(TObject* Sender, const std::string& FindText)>;
using TRichEditFindCloseEvent = std::function<void(TObject* Sender, TFindDialog* Dialog)>;

}  // namespace kl
