#include "platform/richedit/rtf/RtfParser.h"

#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <atomic>

#include "platform/richedit/DocumentFormat.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/rtf/RtfCodePage.h"

namespace richedit::rtf {

namespace {

constexpr int kMaxIndent = 31680;  // 22 inches: beyond any page
constexpr QChar kLineSeparator(0x2028);

int clampIndent(int twips) {
  return std::clamp(twips, -kMaxIndent, kMaxIndent);
}

bool isWhitespace(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; });
}

// The target of a HYPERLINK field instruction: its first argument, with a \l place appended.
QString hyperlinkTarget(const QString& instruction) {
  QString rest = instruction.trimmed();
  if (!rest.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) return {};
  rest = rest.mid(9);
  QString url, place;
  bool placeNext = false;
  qsizetype i = 0;
  while (i < rest.size()) {
    if (rest[i].isSpace()) {
      ++i;
      continue;
    }
    QString argument;
    if (rest[i] == u'"') {
      const qsizetype close = rest.indexOf(u'"', i + 1);
      const qsizetype end = close < 0 ? rest.size() : close;
      argument = rest.mid(i + 1, end - i - 1);
      i = end + 1;
    } else {
      qsizetype end = i;
      while (end < rest.size() && !rest[end].isSpace()) ++end;
      argument = rest.mid(i, end - i);
      i = end;
    }
    if (argument.startsWith(u'\\')) {
      placeNext = argument == QLatin1String("\\l");
      continue;
    }
    if (placeNext) {
      place = argument;
      placeNext = false;
    } else if (url.isEmpty()) {
      url = argument;
    }
  }
  if (!place.isEmpty()) url += u'#' + place;
  return url;
}

std::atomic<int> pictureSerial{0};

}  // namespace

Numbering numberingOfLevel(const ListLevel& level) {
  Numbering n;
  switch (level.nfc) {
    case 23:
      n.type = PFN_BULLET;
      break;
    case 1:
      n.type = PFN_UCROMAN;
      break;
    case 2:
      n.type = PFN_LCROMAN;
      break;
    case 3:
      n.type = PFN_UCLETTER;
      break;
    case 4:
      n.type = PFN_LCLETTER;
      break;
    case 255:
      n.type = 0;
      break;
    default:
      n.type = PFN_ARABIC;
      break;
  }
  n.start = level.start;
  // \leveltext is a length, then the label; characters below 10 stand for level numbers.
  const QString text = level.text.mid(1);
  qsizetype first = -1, last = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].unicode() < 10) {
      if (first < 0) first = i;
      last = i;
    }
  }
  const QString before = first < 0 ? QString() : text.left(first);
  QString after = last < 0 ? QString() : text.mid(last + 1);
  after.remove(u';');
  if (after.startsWith(u'.'))
    n.style = fmt::NumberingPeriod;
  else if (after.startsWith(u')'))
    n.style = before.endsWith(u'(') ? fmt::NumberingParens : fmt::NumberingParen;
  else
    n.style = fmt::NumberingPlain;
  return n;
}

struct RtfParser::PendingPicture {
  QTextImageFormat format;
  qsizetype from = 0, to = 0;  // the bytes of the group it came from
  bool inShpPict = false;
};

RtfParser::RtfParser(QByteArrayView data, QTextCursor& cursor, Objects objects)
    : data_(data), builder_(cursor), objects_(objects) {
  stack_.reserve(64);
}

RtfParser::~RtfParser() = default;

void RtfParser::finish() {
  flushBytes();
  flushPicture();
  builder_.finish();
}

// ---- groups -----------------------------------------------------------------------------

void RtfParser::onGroupOpen(qsizetype offset) {
  flushBytes();
  ignorable_ = false;
  fallbackLeft_ = 0;
  if (done_) return;
  if (overflow_ > 0 || stack_.size() >= std::size_t(kMaxDepth)) {
    ++overflow_;  // deeper groups are dropped whole: no real document nests this far
    return;
  }
  State state = stack_.empty() ? State{} : top();
  state.open = offset;
  state.contentAtOpen = contentSerial_;
  stack_.push_back(state);
}

void RtfParser::onGroupClose(qsizetype end) {
  flushBytes();
  ignorable_ = false;
  fallbackLeft_ = 0;
  if (overflow_ > 0) {
    --overflow_;
    return;
  }
  if (done_ || stack_.empty()) return;
  const State closed = top();
  stack_.pop_back();
  closeGroup(closed, end);
  if (stack_.empty()) done_ = true;
}

void RtfParser::closeGroup(const State& closed, qsizetype end) {
  if (closed.open == extendOnClose_) {
    extendOnClose_ = -1;
    if (pending_) pending_->to = end;
  }
  const bool started = stack_.empty() || top().dest != closed.dest;
  switch (closed.dest) {
    case Destination::FontTable:
      if (fontOpen_) commitFont();
      break;
    case Destination::Pict:
      if (started) finishPicture(closed, end);
      break;
    case Destination::FieldInstruction:
      if (started && !fields_.empty()) {
        const QString target = hyperlinkTarget(fields_.back().instruction);
        if (!target.isEmpty()) {
          links_.append(target);
          forgetFormats();
          fields_.back().link = int(links_.size() - 1);
        }
      }
      break;
    case Destination::Field:
      if (started && !fields_.empty()) fields_.pop_back();
      break;
    case Destination::Pn:
      if (started && !stack_.empty()) {
        Numbering n = pn_;
        if (pnAfter_.startsWith(u'.'))
          n.style = fmt::NumberingPeriod;
        else if (pnAfter_.startsWith(u')'))
          n.style = pnBefore_.endsWith(u'(') ? fmt::NumberingParens : fmt::NumberingParen;
        else
          n.style = fmt::NumberingPlain;
        top().para.numbering = n;
      }
      break;
    case Destination::ListLevel:
      if (started) list_.push_back(level_);
      break;
    case Destination::List:
      if (started) lists_[listId_] = list_;
      forgetFormats();
      break;
    case Destination::ListOverride:
      if (started) overrides_[overrideLs_] = overrideId_;
      forgetFormats();
      break;
    case Destination::Object:
      if (started && objects_ == Objects::Keep) {
        PictureData box = object_;
        box.goalWidth = object_.width;
        box.goalHeight = object_.height;
        box.width = box.height = 0;
        emitPicture(placeholderImage(), QStringLiteral("object"), shownSizeTwips(box, {}),
                    closed.open, end);
      }
      break;
    case Destination::ShpPict:
      if (started && pending_ && pending_->inShpPict) {
        pending_->from = closed.open;
        pending_->to = end;
      }
      break;
    default:
      break;
  }
}

// ---- control words ----------------------------------------------------------------------

void RtfParser::onControlWord(const ControlWord& word) {
  if (skipping()) return;
  flushBytes();
  const bool ignorable = ignorable_;
  ignorable_ = false;
  const WordInfo* info = word.info;
  if (info == nullptr || (ignorable && info->kind != WordKind::Destination)) {
    if (ignorable) top().dest = Destination::Skip;
    return;
  }
  if (info->kind == WordKind::Symbol) {
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
  } else {
    fallbackLeft_ = 0;  // a fallback ends at the next control word
  }
  const int parameter = word.hasParameter ? word.parameter : info->defaultParameter;
  switch (info->kind) {
    case WordKind::Destination:
      destination(*info);
      break;
    case WordKind::Flag:
      flag(info->id);
      break;
    case WordKind::Toggle:
      toggle(info->id, !word.hasParameter || word.parameter != 0);
      break;
    case WordKind::Value:
      value(info->id, parameter);
      break;
    case WordKind::Symbol:
      symbol(info->id);
      break;
  }
}

void RtfParser::startDestination(Destination dest) {
  top().dest = dest;
}

void RtfParser::destination(const WordInfo& info) {
  const Destination here = top().dest;
  auto within = [&](Destination parent, Destination dest) {
    startDestination(here == parent ? dest : Destination::Skip);
    return here == parent;
  };
  switch (info.id) {
    case Word::FontTable:
      if (within(Destination::Text, Destination::FontTable)) fontOpen_ = false;
      break;
    case Word::ColorTable:
      if (within(Destination::Text, Destination::ColorTable)) {
        colors_.clear();
        forgetFormats();
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
      }
      break;
    case Word::Pict:
      if ((here == Destination::Text || here == Destination::ShpPict) && groupIsFresh()) {
        startDestination(Destination::Pict);
        pict_ = {};
        hex_.reset();
      } else {
        startDestination(Destination::Skip);
      }
      break;
    case Word::Object:
      if (!groupIsFresh())
        startDestination(Destination::Skip);
      else if (within(Destination::Text, Destination::Object))
        object_ = {};
      break;
    case Word::Result:
      startDestination(here == Destination::Object && objects_ == Objects::ResultOnly
                           ? Destination::Text
                           : Destination::Skip);
      break;
    case Word::Field:
      if (within(Destination::Text, Destination::Field)) fields_.push_back({stack_.size(), {}});
      break;
    case Word::FieldInstruction:
      within(Destination::Field, Destination::FieldInstruction);
      break;
    case Word::FieldResult:
      if (within(Destination::Field, Destination::Text) && !fields_.empty() &&
          fields_.back().link >= 0)
        top().chr.link = fields_.back().link;
      break;
    case Word::Pn:
      if (within(Destination::Text, Destination::Pn)) {
        pn_ = {};
        pnBefore_.clear();
        pnAfter_.clear();
      }
      break;
    case Word::PnTextBefore:
      within(Destination::Pn, Destination::PnTextBefore);
      break;
    case Word::PnTextAfter:
      within(Destination::Pn, Destination::PnTextAfter);
      break;
    case Word::ListTable:
      within(Destination::Text, Destination::ListTable);
      break;
    case Word::List:
      if (within(Destination::ListTable, Destination::List)) {
        list_.clear();
        listId_ = 0;
      }
      break;
    case Word::ListLevel:
      if (within(Destination::List, Destination::ListLevel)) level_ = {};
      break;
    case Word::LevelText:
      within(Destination::ListLevel, Destination::LevelText);
      break;
    case Word::ListOverrideTable:
      within(Destination::Text, Destination::ListOverrideTable);
      break;
    case Word::ListOverride:
      if (within(Destination::ListOverrideTable, Destination::ListOverride))
        overrideLs_ = overrideId_ = 0;
      break;
    case Word::ShpPict:
      if (!groupIsFresh())
        startDestination(Destination::Skip);
      else if (within(Destination::Text, Destination::ShpPict))
        sawShpPict_ = true;
      break;
    case Word::NonShpPict:
      // The fallback picture for readers without \shppict: kept with the picture it stands for.
      if (sawShpPict_) {
        if (pending_ && pending_->inShpPict &&
            isWhitespace(data_.sliced(pending_->to, top().open - pending_->to)))
          extendOnClose_ = top().open;
        startDestination(Destination::Skip);
      }
      break;
    case Word::Shape:
      within(Destination::Text, Destination::Shape);
      break;
    case Word::ShapeResult:
      within(Destination::Shape, Destination::Text);
      break;
    default:  // \pntext, \listtext, headers, footers, \info, \stylesheet and the like
      startDestination(Destination::Skip);
      break;
  }
}

void RtfParser::flag(Word id) {
  State& s = top();
  const bool text = s.dest == Destination::Text;
  switch (id) {
    case Word::Ansi:
      ansiPage_ = 1252;
      break;
    case Word::Mac:
      ansiPage_ = 10000;
      break;
    case Word::Pc:
      ansiPage_ = 437;
      break;
    case Word::Pca:
      ansiPage_ = 850;
      break;
    case Word::Plain: {
      const int link = s.chr.link;  // \plain inside a link's result keeps the link
      s.chr = CharProps{};
      s.chr.link = link;
      break;
    }
    case Word::Pard:
      s.para = ParaProps{};
      break;
    case Word::AlignLeft:
      s.para.align = PFA_LEFT;
      break;
    case Word::AlignRight:
      s.para.align = PFA_RIGHT;
      break;
    case Word::AlignCenter:
      s.para.align = PFA_CENTER;
      break;
    case Word::AlignJustify:
      s.para.align = PFA_JUSTIFY;
      break;
    case Word::RtlPar:
      s.para.rtl = true;
      break;
    case Word::LtrPar:
      s.para.rtl = false;
      break;
    case Word::Par:
    case Word::Sect:
    case Word::Row:
      if (text) endParagraph();
      break;
    case Word::Page:
      if (text && paragraphHasContent_) endParagraph();
      break;
    case Word::Line:
      if (text) appendDocumentChar(kLineSeparator);
      break;
    case Word::Tab:
      deliver(QStringLiteral("\t"));
      break;
    case Word::Cell:
      if (text) ++cellsPending_;
      break;
    case Word::UnderlineNone:
      s.chr.underline = false;
      break;
    case Word::Super:
      s.chr.vertical = 1;
      break;
    case Word::Sub:
      s.chr.vertical = -1;
      break;
    case Word::NoSuperSub:
      s.chr.vertical = 0;
      break;
    case Word::FamilyNil:
      font_.family = 0;
      break;
    case Word::FamilyRoman:
      font_.family = 1;
      break;
    case Word::FamilySwiss:
      font_.family = 2;
      break;
    case Word::FamilyModern:
      font_.family = 3;
      break;
    case Word::FamilyScript:
      font_.family = 4;
      break;
    case Word::FamilyDecor:
    case Word::FamilyTech:
      font_.family = 5;
      break;
    case Word::FamilyBidi:
      font_.family = 0;
      break;
    case Word::PnLevelBullet:
      pn_.type = PFN_BULLET;
      break;
    case Word::PnLevelBody:
      if (pn_.type == 0) pn_.type = PFN_ARABIC;
      break;
    case Word::PnDecimal:
      pn_.type = PFN_ARABIC;
      break;
    case Word::PnUpperLetter:
      pn_.type = PFN_UCLETTER;
      break;
    case Word::PnLowerLetter:
      pn_.type = PFN_LCLETTER;
      break;
    case Word::PnUpperRoman:
      pn_.type = PFN_UCROMAN;
      break;
    case Word::PnLowerRoman:
      pn_.type = PFN_LCROMAN;
      break;
    case Word::PngBlip:
    case Word::JpegBlip:
    case Word::EmfBlip:
    case Word::MacPict:
      if (s.dest == Destination::Pict) pict_.kind = id;
      break;
    default:
      break;
  }
}

void RtfParser::toggle(Word id, bool on) {
  CharProps& c = top().chr;
  switch (id) {
    case Word::Bold:
      c.bold = on;
      break;
    case Word::Italic:
      c.italic = on;
      break;
    case Word::Underline:
      c.underline = on;
      break;
    case Word::Strike:
      c.strike = on;
      break;
    case Word::Hidden:
      c.hidden = on;
      break;
    case Word::Protect:
      c.protect = on;
      break;
    default:
      break;
  }
}

void RtfParser::value(Word id, int p) {
  State& s = top();
  const Destination dest = s.dest;
  const int positive = std::max(p, 0);
  switch (id) {
    case Word::AnsiCodePage:
      if (p > 0) ansiPage_ = p;
      break;
    case Word::DefaultFont:
      defaultFont_ = p;
      break;
    case Word::UnicodeSkip:
      s.uc = std::clamp(p, 0, 16);
      break;
    case Word::Unicode: {
      const auto unit = char16_t(p & 0xffff);  // a signed 16-bit value
      deliver(QString(QChar(unit == 0 ? u' ' : unit)));
      fallbackLeft_ = s.uc;
      break;
    }
    case Word::Font:
      if (dest == Destination::FontTable) {
        if (fontOpen_) commitFont();
        fontNumber_ = p;
        fontOpen_ = true;
      } else {
        s.chr.font = p;
      }
      break;
    case Word::FontCharset:
      font_.charset = std::clamp(p, 0, 255);
      break;
    case Word::FontPitch:
      font_.pitch = std::clamp(p, 0, 15);
      break;
    case Word::FontCodePage:
      font_.codePage = positive;
      break;
    case Word::Red:
      red_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::Green:
      green_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::Blue:
      blue_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::FontSize:
      s.chr.halfPoints = std::clamp(p, 1, 3276);
      break;
    case Word::Color:
      s.chr.color = positive;
      break;
    case Word::LeftIndent:
      s.para.left = clampIndent(p);
      break;
    case Word::RightIndent:
      s.para.right = clampIndent(p);
      break;
    case Word::FirstIndent:
      s.para.first = clampIndent(p);
      break;
    case Word::TabStop:
      if (s.para.tabCount < ParaProps::kMaxTabs && p > 0 && p <= kMaxIndent)
        s.para.tabs[s.para.tabCount++] = p;
      break;
    case Word::ListOverrideIndex:
      if (dest == Destination::ListOverride)
        overrideLs_ = p;
      else
        s.para.listOverride = p;
      break;
    case Word::ListLevelIndex:
      s.para.listLevel = std::clamp(p, 0, 8);
      break;
    case Word::PnStart:
      pn_.start = std::clamp(p, 0, 32767);
      break;
    case Word::PnIndent:
      pn_.tab = std::clamp(p, 0, kMaxIndent);
      break;
    case Word::ListId:
      if (dest == Destination::List) listId_ = p;
      if (dest == Destination::ListOverride) overrideId_ = p;
      break;
    case Word::LevelNfc:
      level_.nfc = p;
      break;
    case Word::LevelStartAt:
      level_.start = std::clamp(p, 0, 32767);
      break;
    case Word::DiBitmap:
    case Word::WBitmap:
    case Word::WMetafile:
    case Word::PmMetafile:
      if (dest == Destination::Pict) pict_.kind = id;
      break;
    case Word::PicWidth:
      pict_.width = positive;
      break;
    case Word::PicHeight:
      pict_.height = positive;
      break;
    case Word::PicGoalWidth:
      pict_.goalWidth = positive;
      break;
    case Word::PicGoalHeight:
      pict_.goalHeight = positive;
      break;
    case Word::PicScaleX:
      pict_.scaleX = positive;
      break;
    case Word::PicScaleY:
      pict_.scaleY = positive;
      break;
    case Word::PicBitsPerPixel:
    case Word::WbmBitsPixel:
      pict_.bitsPerPixel = positive;
      break;
    case Word::WbmPlanes:
      pict_.planes = positive;
      break;
    case Word::WbmWidthBytes:
      pict_.widthBytes = positive;
      break;
    case Word::ObjWidth:
      object_.width = positive;
      break;
    case Word::ObjHeight:
      object_.height = positive;
      break;
    case Word::ObjScaleX:
      object_.scaleX = positive;
      break;
    case Word::ObjScaleY:
      object_.scaleY = positive;
      break;
    default:
      break;
  }
}

void RtfParser::symbol(Word id) {
  char16_t c = u' ';
  switch (id) {
    case Word::Bullet:
      c = 0x2022;
      break;
    case Word::LQuote:
      c = 0x2018;
      break;
    case Word::RQuote:
      c = 0x2019;
      break;
    case Word::LDblQuote:
      c = 0x201C;
      break;
    case Word::RDblQuote:
      c = 0x201D;
      break;
    case Word::EmDash:
      c = 0x2014;
      break;
    case Word::EnDash:
      c = 0x2013;
      break;
    default:
      break;  // \emspace and \enspace read as spaces
  }
  deliver(QString(QChar(c)));
}

void RtfParser::onControlSymbol(char symbol) {
  if (skipping()) return;
  flushBytes();
  if (symbol == '*') {
    ignorable_ = true;
    return;
  }
  ignorable_ = false;
  if (symbol == '\n') {
    fallbackLeft_ = 0;
    if (top().dest == Destination::Text) endParagraph();
    return;
  }
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  switch (symbol) {
    case '~':
      deliver(QString(QChar(0x00A0)));
      break;
    case '-':
      deliver(QString(QChar(0x00AD)));
      break;
    case '_':
      deliver(QString(QChar(0x2011)));
      break;
    default:
      break;
  }
}

// ---- text -------------------------------------------------------------------------------

void RtfParser::onText(std::string_view bytes) {
  if (skipping()) return;
  ignorable_ = false;
  const Destination dest = top().dest;
  if (dest == Destination::Pict) {
    hex_.feed(bytes, pict_.data);
    return;
  }
  if (fallbackLeft_ > 0) {
    const auto skip = std::min<std::size_t>(std::size_t(fallbackLeft_), bytes.size());
    fallbackLeft_ -= int(skip);
    bytes.remove_prefix(skip);
    if (bytes.empty()) return;
  }
  const int page = currentCodePage();
  if (!bytes_.empty() && page != bytesPage_) flushBytes();
  bytesPage_ = page;
  bytes_.append(bytes);
}

void RtfParser::onHexByte(unsigned char byte) {
  if (skipping() || top().dest == Destination::Pict) return;
  ignorable_ = false;
  if (top().dest == Destination::LevelText) {
    // Level text bytes are lengths and level place holders, not characters of a code page.
    flushBytes();
    level_.text += QChar(byte);
    return;
  }
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  const char c = char(byte);
  onText(std::string_view(&c, 1));
}

void RtfParser::onBinary(std::string_view bytes) {
  if (skipping()) return;
  if (top().dest == Destination::Pict) pict_.data.append(bytes.data(), qsizetype(bytes.size()));
}

int RtfParser::currentCodePage() {
  const State& s = top();
  if (s.dest == Destination::FontTable) {
    const int page = font_.codePage ? font_.codePage : codePageOfCharset(font_.charset);
    return page ? page : ansiPage_;
  }
  const auto it = fonts_.find(s.chr.font < 0 ? defaultFont_ : s.chr.font);
  if (it == fonts_.end()) return ansiPage_;
  const int page =
      it->second.codePage ? it->second.codePage : codePageOfCharset(it->second.charset);
  return page ? page : ansiPage_;
}

void RtfParser::flushBytes() {
  if (bytes_.empty()) return;
  decoded_.truncate(0);
  CodePageDecoder::decode(bytesPage_, bytes_, decoded_);
  bytes_.clear();
  deliver(decoded_);
}

void RtfParser::deliver(const QString& text) {
  switch (top().dest) {
    case Destination::Text:
      appendDocumentText(text);
      break;
    case Destination::FontTable:
      for (QChar c : text) {
        if (c == u';')
          commitFont();
        else
          font_.name += c;
      }
      break;
    case Destination::ColorTable:
      for (QChar c : text) {
        if (c != u';') continue;
        colors_.push_back(colorSet_ ? std::optional(QColor(red_, green_, blue_)) : std::nullopt);
        forgetFormats();
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
      }
      break;
    case Destination::FieldInstruction:
      if (!fields_.empty()) fields_.back().instruction += text;
      break;
    case Destination::PnTextBefore:
      pnBefore_ += text;
      break;
    case Destination::PnTextAfter:
      pnAfter_ += text;
      break;
    case Destination::LevelText:
      level_.text += text;
      break;
    default:
      break;
  }
}

void RtfParser::commitFont() {
  font_.name = font_.name.trimmed();
  fonts_[fontNumber_] = font_;
  font_ = {};
  fontOpen_ = false;
  forgetFormats();
}

void RtfParser::appendDocumentText(const QString& text) {
  prepareContent();
  syncFormat();
  builder_.appendText(text);
  paragraphHasContent_ = true;
  ++contentSerial_;
}

void RtfParser::appendDocumentChar(QChar c) {
  appendDocumentText(QString(c));
}

void RtfParser::prepareContent() {
  flushPicture();
  insertCellSeparators();
}

void RtfParser::insertCellSeparators() {
  if (cellsPending_ == 0) return;
  syncFormat();
  builder_.appendText(QString(cellsPending_, u'\t'));
  cellsPending_ = 0;
  ++contentSerial_;
}

void RtfParser::syncFormat() {
  if (runSynced_ && top().chr == runProps_) return;
  runProps_ = top().chr;
  runSynced_ = true;
  builder_.setFormat(cachedCharFormat(runProps_));
}

const QTextCharFormat& RtfParser::cachedCharFormat(const CharProps& props) {
  for (auto& [key, format] : formatCache_)
    if (key == props) return format;
  if (formatCache_.size() >= 64) formatCache_.erase(formatCache_.begin());
  formatCache_.emplace_back(props, charFormat(props));
  return formatCache_.back().second;
}

QTextCharFormat RtfParser::charFormat(const CharProps& props) const {
  QTextCharFormat f;
  const auto font = fonts_.find(props.font < 0 ? defaultFont_ : props.font);
  if (font != fonts_.end() && !font->second.name.isEmpty()) {
    f.setFontFamilies({font->second.name});
    f.setProperty(fmt::CharCharset, font->second.charset);
    f.setProperty(fmt::CharPitchAndFamily, font->second.pitch | (font->second.family << 4));
  }
  f.setFontPointSize(props.halfPoints / 2.0);
  f.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
  f.setProperty(fmt::CharWeight, props.bold ? 700 : 400);
  f.setFontItalic(props.italic);
  f.setFontUnderline(props.underline);
  f.setFontStrikeOut(props.strike);
  if (props.color > 0 && std::size_t(props.color) < colors_.size() && colors_[props.color])
    f.setForeground(*colors_[props.color]);
  if (props.protect) f.setProperty(fmt::CharProtected, true);
  if (props.hidden) f.setProperty(fmt::CharHidden, true);
  if (props.vertical != 0)
    f.setVerticalAlignment(props.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                              : QTextCharFormat::AlignSubScript);
  if (props.link >= 0 && props.link < links_.size()) {
    f.setAnchor(true);
    f.setAnchorHref(links_[props.link]);
  }
  return f;
}

QTextBlockFormat RtfParser::blockFormat(const ParaProps& p) const {
  QTextBlockFormat b;
  switch (p.align) {
    case PFA_RIGHT:
      b.setAlignment(Qt::AlignRight);
      break;
    case PFA_CENTER:
      b.setAlignment(Qt::AlignHCenter);
      break;
    case PFA_JUSTIFY:
      b.setAlignment(Qt::AlignJustify);
      break;
    default:
      b.setAlignment(Qt::AlignLeft);
      break;
  }
  b.setProperty(fmt::BlockStartIndent, p.left + p.first);
  b.setProperty(fmt::BlockOffset, -p.first);
  b.setProperty(fmt::BlockRightIndent, p.right);
  if (p.tabCount > 0)
    b.setProperty(fmt::BlockTabs,
                  QVariant::fromValue(QList<int>(p.tabs.begin(), p.tabs.begin() + p.tabCount)));
  if (p.rtl) b.setProperty(fmt::BlockRtl, true);
  Numbering n = p.numbering;
  if (p.listOverride > 0) {
    const auto over = overrides_.find(p.listOverride);
    const auto list = lists_.find(over != overrides_.end() ? over->second : -1);
    if (list != lists_.end() && std::size_t(p.listLevel) < list->second.size())
      n = numberingOfLevel(list->second[p.listLevel]);
  }
  if (n.type != 0) {
    b.setProperty(fmt::BlockNumbering, n.type);
    b.setProperty(fmt::BlockNumberingStart, n.start);
    b.setProperty(fmt::BlockNumberingStyle, n.style);
    b.setProperty(fmt::BlockNumberingTab, n.tab);
  }
  fmt::applyParagraphGeometry(b);
  return b;
}

void RtfParser::endParagraph() {
  flushPicture();
  cellsPending_ = 0;
  const ParaProps& para = top().para;
  if (!lastBlock_ || !(lastBlock_->first == para)) lastBlock_.emplace(para, blockFormat(para));
  builder_.endParagraph(lastBlock_->second, cachedCharFormat(top().chr));
  paragraphHasContent_ = false;
  ++contentSerial_;
}

// ---- pictures and objects ---------------------------------------------------------------

void RtfParser::finishPicture(const State& closed, qsizetype end) {
  QImage image = decodePicture(pict_);
  const QSize twips = shownSizeTwips(pict_, image);
  if (image.isNull()) image = placeholderImage();
  emitPicture(image, pict_.kindName(), twips, closed.open, end);
  pending_->inShpPict = !stack_.empty() && top().dest == Destination::ShpPict;
  pict_.data = QByteArray();
}

void RtfParser::emitPicture(const QImage& image, const QString& kind, QSize twips, qsizetype from,
                            qsizetype to) {
  flushPicture();
  insertCellSeparators();
  const QString name = QStringLiteral("klb-picture:%1").arg(++pictureSerial);
  builder_.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
  auto pending = std::make_unique<PendingPicture>();
  pending->format.setName(name);
  pending->format.setWidth(fmt::twipsToPixels(twips.width()));
  pending->format.setHeight(fmt::twipsToPixels(twips.height()));
  pending->format.setProperty(fmt::PictureKind, kind);
  pending->format.setProperty(fmt::PictureGoalWidth, twips.width());
  pending->format.setProperty(fmt::PictureGoalHeight, twips.height());
  pending->from = from;
  pending->to = to;
  pending_ = std::move(pending);
  ++contentSerial_;  // counted now: an enclosing group must not take it in a second time
}

void RtfParser::flushPicture() {
  if (!pending_) return;
  const auto picture = std::move(pending_);
  picture->format.setProperty(
      fmt::PictureSource, data_.sliced(picture->from, picture->to - picture->from).toByteArray());
  builder_.appendObject(picture->format);
  paragraphHasContent_ = true;
}

}  // namespace richedit::rtf
