#pragma once
// The rich-edit control's message interface: the platform's scalar types, message numbers,
// flag values and records, laid out exactly as the platform lays them out (32-bit fields,
// natural alignment), so a record built by the component reads the same in the control.

#include <cstddef>
#include <cstdint>

#include "platform/richedit/document/FormatCodes.h"

namespace richedit {

using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using BOOL = std::int32_t;
using LCID = std::uint32_t;
using COLORREF = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using HWND = void*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
  return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
  return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
  return BYTE((c >> 16) & 0xFF);
}
constexpr LPARAM MAKELONG(WORD lo, WORD hi) {
  return LPARAM(DWORD(lo) | (DWORD(hi) << 16));
}
constexpr WORD LOWORD(std::uintptr_t v) {
  return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
  return WORD((v >> 16) & 0xFFFF);
}

// ---- Window messages ----------------------------------------------------------------------
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_USER = 0x0400;

// ---- Edit messages ------------------------------------------------------------------------
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = WM_USER + 49;  // 1073, as the rich-edit control numbers it
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_POSFROMCHAR = 0x00D6;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// ---- Rich-edit messages -------------------------------------------------------------------
constexpr UINT EM_GETLIMITTEXT_RICHEDIT = WM_USER + 37;  // the rich-edit header's number for it
constexpr UINT EM_CANPASTE = WM_USER + 50;
constexpr UINT EM_DISPLAYBAND = WM_USER + 51;
constexpr UINT EM_EXGETSEL = WM_USER + 52;        // 1076
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;     // 1077
constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;  // 1078
constexpr UINT EM_EXSETSEL = WM_USER + 55;        // 1079
constexpr UINT EM_FINDTEXT = WM_USER + 56;
constexpr UINT EM_FORMATRANGE = WM_USER + 57;      // 1081
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;    // 1082
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;     // 1083
constexpr UINT EM_GETOLEINTERFACE = WM_USER + 60;  // 1084
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;    // 1085
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;  // 1087
constexpr UINT EM_PASTESPECIAL = WM_USER + 64;
constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
constexpr UINT EM_SELECTIONTYPE = WM_USER + 66;   // 1090
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;   // 1091
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;   // 1092
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;    // 1093
constexpr UINT EM_SETOLECALLBACK = WM_USER + 70;  // 1094
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;   // 1095
constexpr UINT EM_SETTARGETDEVICE = WM_USER + 72;
constexpr UINT EM_STREAMIN = WM_USER + 73;      // 1097
constexpr UINT EM_STREAMOUT = WM_USER + 74;     // 1098
constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;  // 1099
constexpr UINT EM_FINDWORDBREAK = WM_USER + 76;
constexpr UINT EM_SETOPTIONS = WM_USER + 77;  // 1101
constexpr UINT EM_GETOPTIONS = WM_USER + 78;  // 1102
constexpr UINT EM_FINDTEXTEX = WM_USER + 79;  // 1103
constexpr UINT EM_GETWORDBREAKPROCEX = WM_USER + 80;
constexpr UINT EM_SETWORDBREAKPROCEX = WM_USER + 81;
constexpr UINT EM_SETUNDOLIMIT = WM_USER + 82;  // 1106
constexpr UINT EM_REDO = WM_USER + 84;
constexpr UINT EM_CANREDO = WM_USER + 85;
constexpr UINT EM_GETUNDONAME = WM_USER + 86;
constexpr UINT EM_GETREDONAME = WM_USER + 87;
constexpr UINT EM_STOPGROUPTYPING = WM_USER + 88;
constexpr UINT EM_SETTEXTMODE = WM_USER + 89;  // 1113
constexpr UINT EM_GETTEXTMODE = WM_USER + 90;
constexpr UINT EM_AUTOURLDETECT = WM_USER + 91;     // 1115
constexpr UINT EM_GETAUTOURLDETECT = WM_USER + 92;  // 1116
constexpr UINT EM_GETTEXTEX = WM_USER + 94;
constexpr UINT EM_GETTEXTLENGTHEX = WM_USER + 95;  // 1119
constexpr UINT EM_SETTEXTEX = WM_USER + 97;
constexpr UINT EM_SETLANGOPTIONS = WM_USER + 120;  // 1144
constexpr UINT EM_GETZOOM = WM_USER + 224;         // 1248
constexpr UINT EM_SETZOOM = WM_USER + 225;         // 1249
constexpr UINT EM_GETLANGOPTIONS = WM_USER + 121;  // 1145

// ---- Notifications ------------------------------------------------------------------------
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr UINT EN_MSGFILTER = 0x0700;
constexpr UINT EN_REQUESTRESIZE = 0x0701;
constexpr UINT EN_SELCHANGE = 0x0702;
constexpr UINT EN_DROPFILES = 0x0703;
constexpr UINT EN_PROTECTED = 0x0704;
constexpr UINT EN_CORRECTTEXT = 0x0705;
constexpr UINT EN_STOPNOUNDO = 0x0706;
constexpr UINT EN_IMECHANGE = 0x0707;
constexpr UINT EN_SAVECLIPBOARD = 0x0708;
constexpr UINT EN_OLEOPFAILED = 0x0709;
constexpr UINT EN_OBJECTPOSITIONS = 0x070A;
constexpr UINT EN_LINK = 0x070B;

// Event mask bits (EM_SETEVENTMASK)
constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_SCROLLEVENTS = 0x00000008;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_DROPFILES = 0x00100000;
constexpr DWORD ENM_PROTECTED = 0x00200000;
constexpr DWORD ENM_LINK = 0x04000000;

// ---- Options (EM_SETOPTIONS) --------------------------------------------------------------
constexpr WPARAM ECOOP_SET = 0x0001;
constexpr WPARAM ECOOP_OR = 0x0002;
constexpr WPARAM ECOOP_AND = 0x0003;
constexpr WPARAM ECOOP_XOR = 0x0004;
constexpr DWORD ECO_AUTOWORDSELECTION = 0x00000001;
constexpr DWORD ECO_AUTOVSCROLL = 0x00000040;
constexpr DWORD ECO_AUTOHSCROLL = 0x00000080;
constexpr DWORD ECO_NOHIDESEL = 0x00000100;
constexpr DWORD ECO_READONLY = 0x00000800;
constexpr DWORD ECO_WANTRETURN = 0x00001000;
constexpr DWORD ECO_SAVESEL = 0x00008000;
constexpr DWORD ECO_SELECTIONBAR = 0x01000000;

// ---- Window styles ------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_DISABLENOSCROLL = 0x2000;
constexpr DWORD ES_SAVESEL = 0x8000;
constexpr DWORD ES_SELECTIONBAR = 0x01000000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD CS_VREDRAW = 0x0001;
constexpr DWORD CS_HREDRAW = 0x0002;

// ---- Text mode, undo, language options ----------------------------------------------------
constexpr WPARAM TM_PLAINTEXT = 1;
constexpr WPARAM TM_RICHTEXT = 2;
constexpr WPARAM TM_SINGLELEVELUNDO = 4;
constexpr WPARAM TM_MULTILEVELUNDO = 8;
constexpr WPARAM TM_SINGLECODEPAGE = 16;
constexpr WPARAM TM_MULTICODEPAGE = 32;
constexpr DWORD IMF_AUTOKEYBOARD = 0x0001;
constexpr DWORD IMF_AUTOFONT = 0x0002;
constexpr DWORD IMF_IMECANCELCOMPLETE = 0x0004;
constexpr DWORD IMF_IMEALWAYSSENDNOTIFY = 0x0008;

// ---- Selection type (EM_SELECTIONTYPE) ----------------------------------------------------
constexpr LRESULT SEL_EMPTY = 0x0000;
constexpr LRESULT SEL_TEXT = 0x0001;
constexpr LRESULT SEL_OBJECT = 0x0002;
constexpr LRESULT SEL_MULTICHAR = 0x0004;
constexpr LRESULT SEL_MULTIOBJECT = 0x0008;

// ---- Character format (EM_GET/SETCHARFORMAT) ----------------------------------------------
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_WORD = 0x0002;
constexpr WPARAM SCF_ALL = 0x0004;

constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_LINK = 0x00000020;
constexpr DWORD CFM_SMALLCAPS = 0x00000040;
constexpr DWORD CFM_ALLCAPS = 0x00000080;
constexpr DWORD CFM_HIDDEN = 0x00000100;
constexpr DWORD CFM_OUTLINE = 0x00000200;
constexpr DWORD CFM_SHADOW = 0x00000400;
constexpr DWORD CFM_EMBOSS = 0x00000800;
constexpr DWORD CFM_IMPRINT = 0x00001000;
constexpr DWORD CFM_DISABLED = 0x00002000;
constexpr DWORD CFM_REVISED = 0x00004000;
constexpr DWORD CFM_BACKCOLOR = 0x04000000;
constexpr DWORD CFM_LCID = 0x02000000;
constexpr DWORD CFM_UNDERLINETYPE = 0x00800000;
constexpr DWORD CFM_WEIGHT = 0x00400000;
constexpr DWORD CFM_SPACING = 0x00200000;
constexpr DWORD CFM_KERNING = 0x00100000;
constexpr DWORD CFM_STYLE = 0x00080000;
constexpr DWORD CFM_ANIMATION = 0x00040000;
constexpr DWORD CFM_REVAUTHOR = 0x00008000;
constexpr DWORD CFM_SUBSCRIPT = 0x00010000;
constexpr DWORD CFM_SUPERSCRIPT = 0x00020000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFM_EFFECTS =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;
constexpr DWORD CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;
constexpr DWORD CFM_EFFECTS2 = CFM_EFFECTS | CFM_DISABLED | CFM_SMALLCAPS | CFM_ALLCAPS |
                               CFM_HIDDEN | CFM_OUTLINE | CFM_SHADOW | CFM_EMBOSS | CFM_IMPRINT |
                               CFM_REVISED | CFM_SUBSCRIPT | CFM_SUPERSCRIPT | CFM_BACKCOLOR;
constexpr DWORD CFM_ALL2 = CFM_ALL | CFM_EFFECTS2 | CFM_BACKCOLOR | CFM_LCID | CFM_UNDERLINETYPE |
                           CFM_WEIGHT | CFM_REVAUTHOR | CFM_SPACING | CFM_KERNING | CFM_STYLE |
                           CFM_ANIMATION;

constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_PROTECTED = 0x00000010;
constexpr DWORD CFE_LINK = 0x00000020;
constexpr DWORD CFE_SUBSCRIPT = 0x00010000;
constexpr DWORD CFE_SUPERSCRIPT = 0x00020000;
constexpr DWORD CFE_AUTOBACKCOLOR = 0x04000000;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

constexpr int LF_FACESIZE = 32;

// ---- Paragraph format (EM_GET/SETPARAFORMAT) ----------------------------------------------
constexpr DWORD PFM_STARTINDENT = 0x00000001;
constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
constexpr DWORD PFM_OFFSET = 0x00000004;
constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr DWORD PFM_TABSTOPS = 0x00000010;
constexpr DWORD PFM_NUMBERING = 0x00000020;
constexpr DWORD PFM_OFFSETINDENT = 0x80000000;
constexpr DWORD PFM_SPACEBEFORE = 0x00000040;
constexpr DWORD PFM_SPACEAFTER = 0x00000080;
constexpr DWORD PFM_LINESPACING = 0x00000100;
constexpr DWORD PFM_RTLPARA = 0x00010000;
constexpr DWORD PFM_NUMBERINGSTYLE = 0x00002000;
constexpr DWORD PFM_NUMBERINGTAB = 0x00004000;
constexpr DWORD PFM_NUMBERINGSTART = 0x00008000;
constexpr DWORD PFM_STYLE = 0x00000400;
constexpr DWORD PFM_BORDER = 0x00000800;
constexpr DWORD PFM_SHADING = 0x00001000;
constexpr DWORD PFM_KEEP = 0x00020000;
constexpr DWORD PFM_KEEPNEXT = 0x00040000;
constexpr DWORD PFM_PAGEBREAKBEFORE = 0x00080000;
constexpr DWORD PFM_NOLINENUMBER = 0x00100000;
constexpr DWORD PFM_NOWIDOWCONTROL = 0x00200000;
constexpr DWORD PFM_DONOTHYPHEN = 0x00400000;
constexpr DWORD PFM_SIDEBYSIDE = 0x00800000;
constexpr DWORD PFM_TABLEROWDELIMITER = 0x10000000;
constexpr DWORD PFM_TABLE = 0x40000000;
constexpr DWORD PFM_ALL = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT |
                          PFM_TABSTOPS | PFM_NUMBERING | PFM_OFFSETINDENT | PFM_RTLPARA;
// Each effect's mask bit is its wEffects bit (PFE_*) moved up 16 places.
constexpr DWORD PFM_EFFECTS = PFM_RTLPARA | PFM_KEEP | PFM_KEEPNEXT | PFM_TABLE |
                              PFM_PAGEBREAKBEFORE | PFM_NOLINENUMBER | PFM_NOWIDOWCONTROL |
                              PFM_DONOTHYPHEN | PFM_SIDEBYSIDE | PFM_TABLEROWDELIMITER;
constexpr DWORD PFM_ALL2 = PFM_ALL | PFM_EFFECTS | PFM_SPACEBEFORE | PFM_SPACEAFTER |
                           PFM_LINESPACING | PFM_STYLE | PFM_SHADING | PFM_BORDER |
                           PFM_NUMBERINGTAB | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE;
constexpr WORD PFE_RTLPARA = 0x0001;
constexpr WORD PFE_KEEP = 0x0002;
constexpr WORD PFE_KEEPNEXT = 0x0004;
constexpr WORD PFE_PAGEBREAKBEFORE = 0x0008;
constexpr WORD PFE_NOLINENUMBER = 0x0010;
constexpr WORD PFE_NOWIDOWCONTROL = 0x0020;
constexpr WORD PFE_DONOTHYPHEN = 0x0040;
constexpr WORD PFE_SIDEBYSIDE = 0x0080;
constexpr WORD PFE_TABLE = 0x4000;  // the paragraph is a table row, its cells apart by TABs

// ---- Streams (EM_STREAMIN / EM_STREAMOUT) -------------------------------------------------
constexpr WPARAM SF_TEXT = 0x0001;
constexpr WPARAM SF_RTF = 0x0002;
constexpr WPARAM SF_RTFNOOBJS = 0x0003;
constexpr WPARAM SF_TEXTIZED = 0x0004;
constexpr WPARAM SF_UNICODE = 0x0010;
constexpr WPARAM SF_USECODEPAGE = 0x0020;
constexpr WPARAM SFF_PLAINRTF = 0x4000;
constexpr WPARAM SFF_SELECTION = 0x8000;

// ---- Find (EM_FINDTEXTEX) ----------------------------------------------------------------
constexpr WPARAM FR_DOWN = 0x00000001;
constexpr WPARAM FR_WHOLEWORD = 0x00000002;
constexpr WPARAM FR_MATCHCASE = 0x00000004;

// ---- Text in and out (EM_GETTEXTEX, EM_SETTEXTEX) and word breaks (EM_FINDWORDBREAK) ---------
constexpr UINT CP_UNICODE = 1200;  // the code page of UTF-16 text
constexpr DWORD GT_DEFAULT = 0;
constexpr DWORD GT_USECRLF = 1;
constexpr DWORD GT_SELECTION = 2;
constexpr DWORD GT_RAWTEXT = 4;
constexpr DWORD GT_NOHIDDENTEXT = 8;
constexpr DWORD ST_DEFAULT = 0;
constexpr DWORD ST_KEEPUNDO = 1;
constexpr DWORD ST_SELECTION = 2;
constexpr DWORD ST_NEWCHARS = 4;
constexpr DWORD ST_UNICODE = 8;
constexpr WPARAM WB_LEFT = 0;
constexpr WPARAM WB_RIGHT = 1;
constexpr WPARAM WB_ISDELIMITER = 2;
constexpr WPARAM WB_CLASSIFY = 3;
constexpr WPARAM WB_MOVEWORDLEFT = 4;
constexpr WPARAM WB_MOVEWORDRIGHT = 5;
constexpr WPARAM WB_LEFTBREAK = 6;
constexpr WPARAM WB_RIGHTBREAK = 7;
constexpr LRESULT WBF_ISWHITE = 0x10;
constexpr LRESULT WBF_BREAKLINE = 0x20;
constexpr LRESULT WBF_BREAKAFTER = 0x40;

// ---- Text length (EM_GETTEXTLENGTHEX) -----------------------------------------------------
constexpr DWORD GTL_DEFAULT = 0;
constexpr DWORD GTL_USECRLF = 1;
constexpr DWORD GTL_PRECISE = 2;
constexpr DWORD GTL_CLOSE = 4;
constexpr DWORD GTL_NUMCHARS = 8;
constexpr DWORD GTL_NUMBYTES = 16;

// ---- Records ------------------------------------------------------------------------------
struct POINT {
  LONG x;
  LONG y;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct CHARRANGE {
  LONG cpMin;
  LONG cpMax;
};

struct TEXTRANGEA {
  CHARRANGE chrg;
  char* lpstrText;  // UTF-8 on this platform
};

struct CHARFORMATA {
  UINT cbSize;
  DWORD dwMask;
  DWORD dwEffects;
  LONG yHeight;
  LONG yOffset;
  COLORREF crTextColor;
  BYTE bCharSet;
  BYTE bPitchAndFamily;
  char szFaceName[LF_FACESIZE];
};

struct CHARFORMAT2A {
  UINT cbSize;
  DWORD dwMask;
  DWORD dwEffects;
  LONG yHeight;
  LONG yOffset;
  COLORREF crTextColor;
  BYTE bCharSet;
  BYTE bPitchAndFamily;
  char szFaceName[LF_FACESIZE];
  WORD wWeight;
  SHORT sSpacing;
  COLORREF crBackColor;
  LCID lcid;
  DWORD dwReserved;
  SHORT sStyle;
  WORD wKerning;
  BYTE bUnderlineType;
  BYTE bAnimation;
  BYTE bRevAuthor;
  BYTE bReserved1;
};

struct PARAFORMAT {
  UINT cbSize;
  DWORD dwMask;
  WORD wNumbering;
  WORD wEffects;  // wReserved in the first version
  LONG dxStartIndent;
  LONG dxRightIndent;
  LONG dxOffset;
  WORD wAlignment;
  SHORT cTabCount;
  LONG rgxTabs[MAX_TAB_STOPS];
};

struct PARAFORMAT2 {
  UINT cbSize;
  DWORD dwMask;
  WORD wNumbering;
  WORD wEffects;
  LONG dxStartIndent;
  LONG dxRightIndent;
  LONG dxOffset;
  WORD wAlignment;
  SHORT cTabCount;
  LONG rgxTabs[MAX_TAB_STOPS];
  LONG dySpaceBefore;
  LONG dySpaceAfter;
  LONG dyLineSpacing;
  SHORT sStyle;
  BYTE bLineSpacingRule;
  BYTE bOutlineLevel;
  WORD wShadingWeight;
  WORD wShadingStyle;
  WORD wNumberingStart;
  WORD wNumberingStyle;
  WORD wNumberingTab;
  WORD wBorderSpace;
  WORD wBorderWidth;
  WORD wBorders;
};

// The stream callback: fills or drains pbBuff, reports the count in *pcb, answers 0 to go on.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR dwCookie, BYTE* pbBuff, LONG cb, LONG* pcb);
struct EDITSTREAM {
  DWORD_PTR dwCookie;
  DWORD dwError;
  EDITSTREAMCALLBACK pfnCallback;
};

struct FINDTEXTA {
  CHARRANGE chrg;
  const char* lpstrText;  // UTF-8 on this platform
};

struct FINDTEXTEXA {
  CHARRANGE chrg;
  const char* lpstrText;  // UTF-8 on this platform
  CHARRANGE chrgText;
};

struct GETTEXTLENGTHEX {
  DWORD flags;
  UINT codepage;
};

struct GETTEXTEX {
  DWORD cb;  // the buffer's size in bytes
  DWORD flags;
  UINT codepage;
  const char* lpDefaultChar;
  int* lpUsedDefChar;
};

struct SETTEXTEX {
  DWORD flags;
  UINT codepage;
};

struct FORMATRANGE {
  void* hdc;
  void* hdcTarget;
  RECT rc;
  RECT rcPage;
  CHARRANGE chrg;
};

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

struct REQRESIZE {
  NMHDR nmhdr;
  RECT rc;
};

struct SELCHANGE {
  NMHDR nmhdr;
  CHARRANGE chrg;
  WORD seltyp;
};

struct ENPROTECTED {
  NMHDR nmhdr;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  CHARRANGE chrg;
};

struct ENSAVECLIPBOARD {
  NMHDR nmhdr;
  LONG cObjectCount;
  LONG cch;
};

struct MSGFILTER {
  NMHDR nmhdr;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

struct ENLINK {
  NMHDR nmhdr;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  CHARRANGE chrg;
};

// The character and paragraph records travel between the component and the control as raw
// bytes whose sizes both sides agree on; these are the platform's own sizes.
static_assert(sizeof(CHARRANGE) == 8);
static_assert(sizeof(CHARFORMATA) == 60);
static_assert(sizeof(CHARFORMAT2A) == 84);
static_assert(offsetof(CHARFORMAT2A, wWeight) == 58);
static_assert(offsetof(CHARFORMAT2A, crBackColor) == 64);
static_assert(sizeof(PARAFORMAT) == 156);
static_assert(sizeof(PARAFORMAT2) == 188);
static_assert(offsetof(PARAFORMAT2, rgxTabs) == 28);
static_assert(sizeof(GETTEXTLENGTHEX) == 8);
static_assert(sizeof(SETTEXTEX) == 8);
static_assert(sizeof(GETTEXTEX) == (sizeof(void*) == 8 ? 32 : 20));
static_assert(sizeof(RECT) == 16);

}  // namespace richedit
