#include "platform/richedit/rtf/RtfParser.h"

#include <QTextImageFormat>
#include <algorithm>

#include <QTextDocument>
#include <QUrl>
#include <atomic>
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"

#include "platform/encoding/CodePages.h"
#include "platform/richedit/rtf/RtfSpacing.h"

// Text on its way into the document: decoding, the destination it belongs to, the formats it
// takes, paragraph ends, and pictures with the bytes they keep.

namespace richedit::rtf {

namespace {
std::atomic<int> pictureSerial{0};
}  // namespace

void RtfParser::onText(std::string_view bytes) {
  if (skipping()) return;
  touch();
  ignorable_ = false;
  const Destination dest = top().dest;
  if (dest == Destination::Pict) {
    // Of a device-independent bitmap, only its header and colours are read here.
    constexpr qsizetype kBitmapHeadKept = 64 * 1024;
    if (pict_.kind != Word::DiBitmap) {
      hex_.feed(bytes, pict_.data);
      return;
    }
    const auto head = std::size_t(std::max<qsizetype>(kBitmapHeadKept - pict_.data.size(), 0) * 2);
    if (head > 0) hex_.feed(bytes.substr(0, head), pict_.data);
    if (bytes.size() > head) pict_.bytesNotKept += hex_.skip(bytes.substr(head));
    return;
  }
  if (fallbackLeft_ > 0) {
    const auto skip = std::min<std::size_t>(std::size_t(fallbackLeft_), bytes.size());
    fallbackLeft_ -= int(skip);
    bytes.remove_prefix(skip);
    if (bytes.empty()) return;
  }
  appendBytes(bytes, currentCodePage());
}

void RtfParser::appendBytes(std::string_view bytes, int page) {
  if (!bytes_.empty() && page != bytesPage_) flushBytes();
  bytesPage_ = page;
  bytes_.append(bytes);
  if (!textenc::isDoubleByteCodePage(page)) return;
  for (const char byte : bytes)
    leadPending_ = !leadPending_ && textenc::isLeadByte(page, static_cast<unsigned char>(byte));
}

void RtfParser::onHexByte(unsigned char byte) {
  if (skipping()) return;
  touch();
  if (top().dest == Destination::Pict) return;
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
  touch();
  if (top().dest == Destination::Pict) pict_.data.append(bytes.data(), qsizetype(bytes.size()));
}

int RtfParser::currentCodePage() {
  const State& s = top();
  int page = 0;
  if (s.dest == Destination::FontTable) {
    page = font_.codePage ? font_.codePage : textenc::codePageOfCharset(font_.charset);
  } else if (const auto it = fonts_.find(s.chr.font < 0 ? defaultFont_ : s.chr.font);
             it != fonts_.end()) {
    page =
        it->second.codePage ? it->second.codePage : textenc::codePageOfCharset(it->second.charset);
  }
  // Only the document's text is symbols in a symbol font: font names, the colour table's
  // separators and field instructions are letters.
  if (page == textenc::kSymbolCodePage && s.dest != Destination::Text) page = 0;
  return page ? page : ansiPage_;
}

void RtfParser::flushBytes() {
  leadPending_ = false;
  if (bytes_.empty()) return;
  decoded_.truncate(0);
  textenc::decodeCodePage(bytesPage_, bytes_, decoded_);
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
    case Destination::ShapeName:
      shapeName_ += text;
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
    fmt::setFace(f, font->second.name);
    f.setProperty(fmt::CharCharset, font->second.charset);
    f.setProperty(fmt::CharPitchAndFamily, font->second.pitch | (font->second.family << 4));
  }
  f.setFontPointSize(props.halfPoints / 2.0);
  f.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
  f.setProperty(fmt::CharWeight, props.bold ? 700 : 400);
  f.setFontItalic(props.italic);
  fmt::setUnderlineType(f, props.underline);
  f.setFontStrikeOut(props.strike);
  if (props.color > 0 && std::size_t(props.color) < colors_.size() && colors_[props.color])
    f.setForeground(*colors_[props.color]);
  if (props.background > 0 && std::size_t(props.background) < colors_.size() &&
      colors_[props.background])
    f.setBackground(*colors_[props.background]);
  if (props.spacing != 0) fmt::setCharSpacing(f, props.spacing);
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
  if (p.spaceBefore != 0) b.setProperty(fmt::BlockSpaceBefore, p.spaceBefore);
  if (p.spaceAfter != 0) b.setProperty(fmt::BlockSpaceAfter, p.spaceAfter);
  const LineSpacing line = lineSpacingOfRtf(p.lineSpacing, p.lineMultiple);
  if (line.rule != 0) {
    b.setProperty(fmt::BlockLineSpacingRule, line.rule);
    b.setProperty(fmt::BlockLineSpacing, line.amount);
  }
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
  cellBreakPending_ = false;
  const ParaProps& para = top().para;
  if (!lastBlock_ || !(lastBlock_->first == para)) lastBlock_.emplace(para, blockFormat(para));
  builder_.endParagraph(lastBlock_->second, cachedCharFormat(top().chr));
  paragraphHasContent_ = false;
  ++contentSerial_;
}

// ---- pictures and objects ---------------------------------------------------------------

// The picture is not decoded here: it is decoded when it is shown, at the size it is shown at,
// from the bytes the document keeps of its group. Only its header is read, for its size.
void RtfParser::finishPicture(const State& closed, qsizetype end) {
  const QSize pixels = pixelSizeOf(pict_);
  // A bitmap inserted without its size gets one that fits the page, and is saved with it, so
  // that other readers show it as it is shown here.
  const bool sizeless =
      !pixels.isEmpty() && pict_.kind == Word::DiBitmap && pict_.width <= 0 && pict_.goalWidth <= 0;
  const QSize twips = sizeless ? pageFittedGoalTwips(pixels.width(), pixels.height())
                               : shownSizeTwips(pict_, pixels);
  emitPicture(pict_.kindName(), twips, closed.open, end);
  if (!stack_.empty() && top().dest == Destination::ShapeValue) shapeShown_ = true;
  pending_->inShpPict = !stack_.empty() && top().dest == Destination::ShpPict;
  if (sizeless && !pending_->inShpPict)
    pending_->source =
        sizedDibitmapGroup(data_.sliced(closed.open, end - closed.open), pict_, twips);
  pict_.data = QByteArray();
}

void RtfParser::emitPicture(const QString& kind, QSize twips, qsizetype from, qsizetype to) {
  flushPicture();
  insertCellSeparators();
  auto pending = std::make_unique<PendingPicture>();
  pending->format.setName(QStringLiteral("klb-picture:%1").arg(++pictureSerial));
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
      fmt::PictureSource,
      !picture->source.isEmpty()
          ? picture->source
          : data_.sliced(picture->from, picture->to - picture->from).toByteArray());
  builder_.appendObject(picture->format);
  paragraphHasContent_ = true;
}

}  // namespace richedit::rtf
