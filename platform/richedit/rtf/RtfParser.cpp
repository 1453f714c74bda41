#include "platform/richedit/rtf/RtfParser.h"

#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"

namespace richedit::rtf {

namespace {

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

}  // namespace

RtfParser::RtfParser(QByteArrayView data, QTextCursor& cursor, Objects objects)
    : data_(data), builder_(cursor), objects_(objects) {
  stack_.reserve(64);
}

RtfParser::~RtfParser() = default;

void RtfParser::finish(FinalBreak finalBreak) {
  flushBytes();
  flushPicture();
  if (!stack_.empty() && row_.cellsRead > 0) rowEnds();  // a stream cut off inside a row
  builder_.finish(finalBreak);
}

// ---- groups -----------------------------------------------------------------------------

void RtfParser::onGroupOpen(qsizetype offset) {
  flushBytes();
  ignorable_ = false;
  fallbackLeft_ = 0;
  if (done_) return;
  touch();
  if (overflow_ > 0 || stack_.size() >= std::size_t(kMaxDepth)) {
    ++overflow_;  // deeper groups are dropped whole: no real document nests this far
    return;
  }
  State state = stack_.empty() ? State{} : top();
  if (state.dest == Destination::StyleSheet) {
    state.dest = Destination::Style;
    style_ = {};
  }
  state.open = offset;
  state.untouched = true;
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
  // Cells that no \row closed end their row with the document.
  if (stack_.size() == 1 && row_.cellsRead > 0 && top().dest == Destination::Text) rowEnds();
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
    case Destination::Style:
      if (started && style_.kind == Word::ParagraphStyle)
        paragraphStyles_[style_.number] = std::move(style_);
      else if (started && style_.kind == Word::CharacterStyle)
        characterStyles_[style_.number] = std::move(style_);
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
      if (started && objects_ == Objects::Keep && closed.contentAtOpen == contentSerial_) {
        PictureData box = object_;
        box.goalWidth = object_.width;
        box.goalHeight = object_.height;
        box.width = box.height = 0;
        emitPicture(QStringLiteral("object"), shownSizeTwips(box, {}), closed.open, end);
      }
      break;
    case Destination::NestTableProps:
      // The properties of a row of a table inside a cell come at the row's end.
      if (started && !stack_.empty() && top().dest == Destination::Text) cellBreakPending_ = true;
      break;
    case Destination::ShpPict:
      // The group stands for its picture only when that picture is all it gave.
      if (started && pending_ && pending_->inShpPict && pending_->from > closed.open &&
          closed.contentAtOpen + 1 == contentSerial_) {
        pending_->from = closed.open;
        pending_->to = end;
        pending_->wholeShpPict = true;
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
  wordIsFirst_ = top().untouched;
  touch();
  const WordInfo* info = word.info;
  // A character style's entry begins with \*\cs: known, though marked ignorable.
  const bool styleEntry = top().dest == Destination::Style && info != nullptr &&
                          (info->id == Word::CharacterStyle || info->id == Word::OtherStyle);
  if (info == nullptr || (ignorable && info->kind != WordKind::Destination && !styleEntry)) {
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
  if (top().dest == Destination::Style && styleWord(*info, word.hasParameter, word.parameter))
    return;
  dispatch(*info, word.hasParameter, word.parameter);
}

void RtfParser::dispatch(const WordInfo& info, bool hasParameter, int givenParameter) {
  const int parameter = hasParameter ? givenParameter : info.defaultParameter;
  switch (info.kind) {
    case WordKind::Destination:
      destination(info);
      break;
    case WordKind::Flag:
      flag(info.id);
      break;
    case WordKind::Toggle:
      toggle(info.id, hasParameter && givenParameter == 0 ? 0 : info.defaultParameter);
      break;
    case WordKind::Value:
      value(info.id, parameter);
      break;
    case WordKind::Symbol:
      symbol(info.id);
      break;
  }
}

void RtfParser::startDestination(Destination dest) {
  top().dest = dest;
}

void RtfParser::destination(const WordInfo& info) {
  if (stack_.size() == 1) return;  // the outermost group is the document itself
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
      // A floating shape's picture (its "pib" property) is shown inline at its anchor.
      if ((here == Destination::Text || here == Destination::ShpPict ||
           (here == Destination::ShapeValue && shapeName_ == u"pib")) &&
          groupIsFresh()) {
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
        if (pending_ && pending_->wholeShpPict && top().open >= pending_->to &&
            isWhitespace(data_.sliced(pending_->to, top().open - pending_->to)))
          extendOnClose_ = top().open;
        startDestination(Destination::Skip);
      }
      break;
    case Word::Shape:
      if (within(Destination::Text, Destination::Shape)) shapeShown_ = false;
      break;
    case Word::ShapeInstruction:
      within(Destination::Shape, Destination::ShapeInstruction);
      break;
    case Word::ShapeProperty:
      within(Destination::ShapeInstruction, Destination::ShapeProperty);
      break;
    case Word::ShapeName:
      if (within(Destination::ShapeProperty, Destination::ShapeName)) shapeName_.clear();
      break;
    case Word::ShapeValue:
      within(Destination::ShapeProperty, Destination::ShapeValue);
      break;
    case Word::ShapeText:  // a text box's paragraphs stand at the shape's anchor
      if (within(Destination::ShapeInstruction, Destination::Text)) shapeShown_ = true;
      break;
    case Word::DrawingObject:  // an older drawing object, or its text box
      startDestination(here == Destination::Text || here == Destination::DrawingObject
                           ? Destination::DrawingObject
                           : Destination::Skip);
      break;
    case Word::DrawingTextBox:
      within(Destination::DrawingObject, Destination::Text);
      break;
    case Word::StyleSheet:
      within(Destination::Text, Destination::StyleSheet);
      break;
    case Word::NestTableProps:
      within(Destination::Text, Destination::NestTableProps);
      break;
    case Word::ShapeResult:
      startDestination(here == Destination::Shape && !shapeShown_ ? Destination::Text
                                                                  : Destination::Skip);
      break;
    default:  // \pntext, \listtext, headers, footers, \info and the like
      startDestination(Destination::Skip);
      break;
  }
}

}  // namespace richedit::rtf
