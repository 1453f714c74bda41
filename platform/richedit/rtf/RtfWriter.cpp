#include "platform/richedit/rtf/RtfWriter.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/encoding/CodePages.h"
#include "platform/richedit/document/Alignment.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"
#include "platform/richedit/document/TableFormat.h"
#include "platform/richedit/rtf/RtfControlWords.h"
#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfOutput.h"
#include "platform/richedit/rtf/RtfSpacing.h"
#include "platform/richedit/rtf/RtfTableRowOutput.h"

namespace richedit::rtf {

namespace {

struct FontKey {
  QString name;
  int charset = 0;
  int pitchAndFamily = 0;
  bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& key, size_t seed = 0) {
  return qHashMulti(seed, key.name, key.charset, key.pitchAndFamily);
}

// The character properties as the stream carries them.
struct CharState {
  int font = 0;
  int halfPoints = 24;
  int color = 0;
  int background = 0;  // colour table index; 0 is the automatic background
  int spacing = 0;     // twips between letters
  int underline = 0;   // CFU_* type
  bool bold = false, italic = false, strike = false;
  bool protect = false, hidden = false;
  int vertical = 0;
  bool operator==(const CharState&) const = default;
};

struct ParaState {
  int align = PFA_LEFT;
  int left = 0, right = 0, first = 0;
  bool rtl = false;
  int spaceBefore = 0, spaceAfter = 0;
  int lineRule = 0, lineAmount = 0;
  QList<int> tabs;
  int numbering = 0, start = 1, style = 0, tab = 0;
  bool table = false;  // a table row: its grid is written with each row
  bool operator==(const ParaState&) const = default;
};

constexpr const char* kFamilies[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor"};

class DocumentWriter {
 public:
  DocumentWriter(const QTextDocument& doc, int from, int to, const WriteOptions& options)
      : doc_(doc),
        from_(from),
        to_(to),
        options_(options),
        body_(qsizetype(std::max(0, to - from)) * 5 / 4 + 1024) {}

  QByteArray run();

 private:
  // tables
  void collectTables();
  int fontIndex(const FontKey& key);
  FontKey fontKeyOf(const QTextCharFormat& f) const;
  int colorIndex(const QTextCharFormat& f, QTextFormat::Property brush);
  CharState stateOf(const QTextCharFormat& f);
  const CharState& stateOfIndex(int formatIndex);
  void writeHeader();

  // body
  void writeBlock(const QTextBlock& block, int blockStart, const ParaState& para, int number);
  void writeParagraphProperties(const ParaState& para, int number);
  void writeRowText(int formatIndex, QStringView text, int offset,
                    const std::vector<int>& separators);
  void writeNumberLabel(const ParaState& para, int number);
  void writeFragment(int formatIndex, QStringView text);
  void writePicture(const QTextImageFormat& image);
  void switchTo(const CharState& state);
  void setLink(const QString& href);
  RtfOutput::Encoding encodingOf(int font) const;

  const QTextDocument& doc_;
  const int from_, to_;
  const WriteOptions options_;
  RtfOutput out_{4096};
  RtfOutput body_;
  // The tables in the order of first use, and each entry's index by key: a document may use
  // tens of thousands of fonts.
  std::vector<FontKey> fonts_;
  QHash<FontKey, int> fontIndexes_;
  std::vector<QColor> colors_;
  QHash<QRgb, int> colorIndexes_;
  // The state of each character format of the document, worked out once: most documents use a
  // few formats many times over.
  QList<QTextFormat> formats_;
  std::vector<std::optional<CharState>> states_;
  int symbolFont_ = -1;
  CharState state_;
  CharState outside_;  // the state outside the open link's field
  QString link_;
  ParaState para_;
  bool paraWritten_ = false;
};

ParaState paraStateOf(const QTextBlockFormat& b) {
  ParaState p;
  p.align = fmt::alignmentCodeOf(b);
  const int start = b.intProperty(fmt::BlockStartIndent);
  const int offset = b.intProperty(fmt::BlockOffset);
  p.first = -offset;
  p.left = start + offset;
  p.right = b.intProperty(fmt::BlockRightIndent);
  p.rtl = b.boolProperty(fmt::BlockRtl);
  p.spaceBefore = b.intProperty(fmt::BlockSpaceBefore);
  p.spaceAfter = b.intProperty(fmt::BlockSpaceAfter);
  p.lineRule = b.intProperty(fmt::BlockLineSpacingRule);
  p.lineAmount = b.intProperty(fmt::BlockLineSpacing);
  if (b.hasProperty(fmt::BlockTabs)) {
    // An empty stop list stays the default one: Qt compares two empty lists of which one holds a
    // buffer and one does not by handing a null pointer to memcmp.
    QList<int> tabs = b.property(fmt::BlockTabs).value<QList<int>>();
    if (!tabs.isEmpty()) p.tabs = std::move(tabs);
  }
  if (p.tabs.size() > MAX_TAB_STOPS) p.tabs.resize(MAX_TAB_STOPS);
  p.table = fmt::isTableRow(b);
  if (p.table) {  // the row's edges and left edge go out with its grid, not as indents
    p.first = p.left = p.right = 0;
    p.tabs = {};  // not clear(): an emptied list keeps its buffer (see above)
    return p;
  }
  p.numbering = b.intProperty(fmt::BlockNumbering);
  if (p.numbering < 0 || p.numbering > PFN_UCROMAN) p.numbering = 0;
  if (p.numbering != 0) {
    p.start = b.hasProperty(fmt::BlockNumberingStart) ? b.intProperty(fmt::BlockNumberingStart) : 1;
    p.style = b.intProperty(fmt::BlockNumberingStyle);
    p.tab = b.intProperty(fmt::BlockNumberingTab);
  }
  return p;
}

bool sameList(const ParaState& a, const ParaState& b) {
  return a.numbering == b.numbering && a.start == b.start && a.style == b.style;
}

// The contents of an object's {\result} group, as a group of its own, or nothing.
QByteArray objectResult(const QByteArray& source) {
  const qsizetype at = source.indexOf("{\\result");
  if (at < 0) return {};
  int depth = 0;
  for (qsizetype i = at; i < source.size(); ++i) {
    const char c = source[i];
    if (c == '\\') {
      ++i;
      continue;
    }
    if (c == '{') ++depth;
    if (c == '}' && --depth == 0) {
      const qsizetype inner = at + 8 + (source[at + 8] == ' ' ? 1 : 0);  // the word's delimiter
      return '{' + source.mid(inner, i - inner) + '}';
    }
  }
  return {};
}

QByteArray pngOf(const QVariant& resource) {
  QImage image;
  if (resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage)
    image = resource.value<QImage>();
  else if (resource.typeId() == QMetaType::QPixmap)
    image = resource.value<QPixmap>().toImage();
  else if (resource.typeId() == QMetaType::QByteArray)
    image.loadFromData(resource.toByteArray());
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

QByteArray DocumentWriter::run() {
  collectTables();
  const QTextBlock first = doc_.findBlock(from_);
  int number = 0;
  ParaState previous;
  // Paragraphs follow each other without gaps: their positions are a running sum, as asking
  // each paragraph for its own walks the document's tree every time.
  int start = first.position();
  for (QTextBlock block = first; block.isValid() && start <= to_;
       start += block.length(), block = block.next()) {
    ParaState para = paraStateOf(block.blockFormat());
    number = para.numbering != 0 && sameList(para, previous) ? number + 1 : 0;
    writeBlock(block, start, para, number);
    previous = std::move(para);
  }
  setLink({});
  writeHeader();
  out_.raw(body_.take());
  out_.raw("}\r\n");
  return out_.take();
}

const CharState& DocumentWriter::stateOfIndex(int formatIndex) {
  if (formatIndex < 0 || formatIndex >= formats_.size()) {
    static const CharState none;
    return none;
  }
  if (std::size_t(formatIndex) >= states_.size()) states_.resize(formats_.size());
  auto& slot = states_[formatIndex];
  if (!slot) slot = stateOf(formats_[formatIndex].toCharFormat());
  return *slot;
}

void DocumentWriter::collectTables() {
  formats_ = doc_.allFormats();
  // Fonts and colours in the order the text first uses them, so that the same document always
  // gives the same tables.
  const QTextBlock first = doc_.findBlock(from_);
  int start = first.position();
  for (QTextBlock block = first; block.isValid() && start <= to_;
       start += block.length(), block = block.next()) {
    if (block.next().isValid()) stateOfIndex(block.next().charFormatIndex());
    if (block.blockFormat().intProperty(fmt::BlockNumbering) == PFN_BULLET && symbolFont_ < 0)
      symbolFont_ = -2;  // placed after the text fonts
    int position = start;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int length = fragment.length();
      position += length;
      if (position <= from_ || position - length >= to_) continue;
      const int index = fragment.charFormatIndex();
      if (index >= 0 && index < formats_.size() && !formats_.at(index).isImageFormat())
        stateOfIndex(index);
    }
  }
  if (fonts_.empty()) fontIndex(fontKeyOf(QTextCharFormat()));
  if (symbolFont_ == -2) symbolFont_ = fontIndex({QStringLiteral("Symbol"), 2, 0});
}

int DocumentWriter::fontIndex(const FontKey& key) {
  const auto it = fontIndexes_.constFind(key);
  if (it != fontIndexes_.constEnd()) return *it;
  fontIndexes_.insert(key, int(fonts_.size()));
  fonts_.push_back(key);
  return int(fonts_.size() - 1);
}

FontKey DocumentWriter::fontKeyOf(const QTextCharFormat& f) const {
  FontKey key;
  const QStringList families = f.fontFamilies().toStringList();
  key.name = families.isEmpty() || families.front().isEmpty() ? doc_.defaultFont().family()
                                                              : families.front();
  if (key.name.isEmpty()) key.name = QStringLiteral("Arial");  // a font table entry needs a face
  key.charset = std::clamp(f.intProperty(fmt::CharCharset), 0, 255);
  key.pitchAndFamily = f.intProperty(fmt::CharPitchAndFamily) & 0xff;
  return key;
}

int DocumentWriter::colorIndex(const QTextCharFormat& f, QTextFormat::Property property) {
  if (!f.hasProperty(property)) return 0;
  const QBrush brush = f.brushProperty(property);
  if (brush.style() == Qt::NoBrush) return 0;
  const QColor color = brush.color().toRgb();
  const QColor opaque(color.red(), color.green(), color.blue());
  const auto it = colorIndexes_.constFind(opaque.rgb());
  if (it != colorIndexes_.constEnd()) return *it;
  colors_.push_back(opaque);
  colorIndexes_.insert(opaque.rgb(), int(colors_.size()));
  return int(colors_.size());
}

CharState DocumentWriter::stateOf(const QTextCharFormat& f) {
  CharState s;
  s.font = fontIndex(fontKeyOf(f));
  double points = f.fontPointSize();
  if (points <= 0) points = doc_.defaultFont().pointSizeF();
  if (points <= 0) points = 10;
  s.halfPoints = std::clamp(qRound(points * 2), 1, 3276);
  s.color = colorIndex(f, QTextFormat::ForegroundBrush);
  s.background = colorIndex(f, QTextFormat::BackgroundBrush);
  s.spacing = f.intProperty(fmt::CharSpacing);
  s.underline = fmt::underlineTypeOf(f);
  s.bold = f.fontWeight() >= QFont::Bold;
  s.italic = f.fontItalic();
  s.strike = f.fontStrikeOut();
  s.protect = f.boolProperty(fmt::CharProtected);
  s.hidden = f.boolProperty(fmt::CharHidden);
  const auto v = f.verticalAlignment();
  s.vertical = v == QTextCharFormat::AlignSuperScript ? 1
               : v == QTextCharFormat::AlignSubScript ? -1
                                                      : 0;
  return s;
}

void DocumentWriter::writeHeader() {
  out_.raw("{");
  out_.word("rtf1");
  out_.word("ansi");
  out_.word("ansicpg", 1252);
  out_.word("deff", 0);
  if (!options_.plainRtf) out_.word("deflang", 1033);
  out_.raw("{");
  out_.word("fonttbl");
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const FontKey& font = fonts_[i];
    out_.raw("{");
    out_.word("f", int(i));
    const int family = font.pitchAndFamily >> 4;
    out_.word(kFamilies[family >= 0 && family < 6 ? family : 0]);
    if (font.pitchAndFamily & 0x0f) out_.word("fprq", font.pitchAndFamily & 0x0f);
    out_.word("fcharset", font.charset);
    const auto encoding = textenc::codePageOfCharset(font.charset) == 0
                              ? RtfOutput::Encoding::Ansi
                              : RtfOutput::Encoding::UnicodeOnly;
    out_.text(font.name, encoding);
    out_.raw(";}");
  }
  out_.raw("}");
  out_.raw("{");  // always there, so that index 0 stands for the automatic colour
  out_.word("colortbl");
  out_.raw(" ;");
  for (const QColor& c : colors_) {
    out_.word("red", c.red());
    out_.word("green", c.green());
    out_.word("blue", c.blue());
    out_.raw(";");
  }
  out_.raw("}");
  out_.lineEnd();
  out_.word("viewkind", 4);
  out_.word("uc", 1);
}

void DocumentWriter::writeBlock(const QTextBlock& block, int blockStart, const ParaState& para,
                                int number) {
  const QString text = block.text();
  std::vector<int> separators;
  if (para.table) {
    setLink({});
    const RowDefinition row = rowDefinitionOf(block.blockFormat(), text);
    writeRowDefinition(body_, row);
    separators = cellSeparatorsOf(text, int(row.edges.size()));
  }
  if (!paraWritten_ || !(para == para_) || para.table) {
    writeParagraphProperties(para, number);
  } else if (para.numbering != 0) {
    writeNumberLabel(para, number);
  }
  const int blockEnd = blockStart + block.length() - 1;
  const int start = std::max(from_, blockStart);
  const int end = std::min(to_, blockEnd);
  // Fragments follow each other without gaps, so their positions are a running sum; asking
  // each fragment for its own position walks the document's tree every time.
  int position = blockStart;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const int length = fragment.length();
    const int a = std::max(start, position);
    const int b = std::min(end, position + length);
    if (a < b && para.table)
      writeRowText(fragment.charFormatIndex(), QStringView(text).sliced(a - blockStart, b - a),
                   a - blockStart, separators);
    else if (a < b)
      writeFragment(fragment.charFormatIndex(), QStringView(text).sliced(a - blockStart, b - a));
    position += length;
  }
  const QTextBlock next = block.next();
  const bool markInRange =
      next.isValid() ? blockEnd < to_
                     : options_.finalMark && to_ >= blockEnd && (to_ > from_ || from_ == 0);
  if (!markInRange) return;
  setLink({});
  // The mark that ends this paragraph is kept as the next paragraph's character format.
  if (next.isValid()) switchTo(stateOfIndex(next.charFormatIndex()));
  if (para.table) {
    body_.word("cell");
    body_.word("row");
  } else {
    body_.word("par");
  }
  body_.lineEnd();
}

// A row's text with its separating TABs as cell ends; offset is where the text stands in the row.
void DocumentWriter::writeRowText(int formatIndex, QStringView text, int offset,
                                  const std::vector<int>& separators) {
  auto next = std::lower_bound(separators.begin(), separators.end(), offset);
  qsizetype done = 0;
  for (; next != separators.end() && *next < offset + text.size(); ++next) {
    const qsizetype at = *next - offset;
    if (at > done) writeFragment(formatIndex, text.sliced(done, at - done));
    setLink({});
    body_.word("cell");
    done = at + 1;
  }
  if (done < text.size()) writeFragment(formatIndex, text.sliced(done));
}

void DocumentWriter::writeParagraphProperties(const ParaState& para, int number) {
  setLink({});
  body_.word("pard");
  para_ = para;
  paraWritten_ = true;
  if (para.table) body_.word("intbl");
  if (para.numbering != 0) {
    writeNumberLabel(para, number);
    body_.raw("{\\*");
    body_.word("pn");
    if (para.numbering == PFN_BULLET) {
      body_.word("pnlvlblt");
      body_.word("pnf", symbolFont_);
      body_.word("pnindent", para.tab);
      body_.raw("{");
      body_.word("pntxtb");
      body_.raw("\\'b7}");
    } else {
      static constexpr const char* kStyles[] = {"pndec", "pnlcltr", "pnucltr", "pnlcrm", "pnucrm"};
      body_.word("pnlvlbody");
      body_.word("pnf", 0);
      body_.word("pnindent", para.tab);
      body_.word("pnstart", para.start);
      body_.word(kStyles[para.numbering - PFN_ARABIC]);
      const int style = para.style & 0xf00;
      if (style == fmt::NumberingParens) {
        body_.raw("{");
        body_.word("pntxtb");
        body_.text(u"(", RtfOutput::Encoding::Ansi);
        body_.raw("}");
      }
      const char16_t* after = style == fmt::NumberingPeriod ? u"."
                              : style == fmt::NumberingParen || style == fmt::NumberingParens
                                  ? u")"
                                  : nullptr;
      if (after) {
        body_.raw("{");
        body_.word("pntxta");
        body_.text(after, RtfOutput::Encoding::Ansi);
        body_.raw("}");
      }
    }
    body_.raw("}");
  }
  if (para.rtl) body_.word("rtlpar");
  static constexpr const char* kAlign[] = {"ql", "ql", "qr", "qc", "qj"};
  if (para.align != PFA_LEFT) body_.word(kAlign[para.align]);
  if (para.first != 0) body_.word("fi", para.first);
  if (para.left != 0) body_.word("li", para.left);
  if (para.right != 0) body_.word("ri", para.right);
  if (para.spaceBefore != 0) body_.word("sb", para.spaceBefore);
  if (para.spaceAfter != 0) body_.word("sa", para.spaceAfter);
  const RtfLineSpacing line = rtfOfLineSpacing(para.lineRule, para.lineAmount);
  if (line.sl != 0) {
    body_.word("sl", line.sl);
    body_.word("slmult", line.multiple ? 1 : 0);
  }
  for (int tab : para.tabs) body_.word("tx", tab);
}

void DocumentWriter::writeNumberLabel(const ParaState& para, int number) {
  setLink({});
  body_.raw("{");
  body_.word("pntext");
  if (para.numbering == PFN_BULLET) {
    body_.word("f", symbolFont_);
    body_.raw("\\'b7");
  } else {
    body_.word("f", state_.font);
    body_.text(fmt::numberingLabel(para.numbering, para.start + number, para.style),
               encodingOf(state_.font));
  }
  body_.word("tab");
  body_.raw("}");
}

void DocumentWriter::writeFragment(int index, QStringView text) {
  static const QTextFormat kNone;
  const QTextFormat& format = index >= 0 && index < formats_.size() ? formats_.at(index) : kNone;
  setLink(format.boolProperty(QTextFormat::IsAnchor)
              ? format.stringProperty(QTextFormat::AnchorHref)
              : QString());
  if (format.isImageFormat()) {
    for (qsizetype i = 0; i < text.size(); ++i) writePicture(format.toImageFormat());
    return;
  }
  switchTo(stateOfIndex(index));
  body_.text(text, encodingOf(state_.font));
}

void DocumentWriter::writePicture(const QTextImageFormat& image) {
  QByteArray source = image.property(fmt::PictureSource).toByteArray();
  const bool object = image.stringProperty(fmt::PictureKind) == QLatin1String("object");
  if (object && options_.objectGroup) {
    if (QByteArray changed = options_.objectGroup(image); !changed.isEmpty()) source = changed;
  }
  if (object && options_.noObjects) {
    body_.raw(objectResult(source));
    return;
  }
  if (!source.isEmpty()) {
    body_.raw(source);
    return;
  }
  // A picture that came without RTF (pasted or inserted by the program) goes out as PNG.
  const QByteArray png = pngOf(doc_.resource(QTextDocument::ImageResource, QUrl(image.name())));
  if (png.isEmpty()) return;
  const QImage decoded = QImage::fromData(png, "PNG");
  const int goalW = image.width() > 0 ? qRound(image.width() * fmt::kTwipsPerPixel)
                                      : decoded.width() * int(fmt::kTwipsPerPixel);
  const int goalH = image.height() > 0 ? qRound(image.height() * fmt::kTwipsPerPixel)
                                       : decoded.height() * int(fmt::kTwipsPerPixel);
  body_.raw("{");
  body_.word("pict");
  body_.word("pngblip");
  body_.word("picw", decoded.width());
  body_.word("pich", decoded.height());
  body_.word("picwgoal", goalW);
  body_.word("pichgoal", goalH);
  body_.lineEnd();
  QByteArray hex;
  appendHex(hex, png.constData(), png.size());
  body_.raw(hex);
  body_.raw("}");
}

void DocumentWriter::switchTo(const CharState& s) {
  CharState& c = state_;
  if (s == c) return;
  if (s.font != c.font) body_.word("f", s.font);
  if (s.halfPoints != c.halfPoints) body_.word("fs", s.halfPoints);
  if (s.color != c.color) body_.word("cf", s.color);
  if (s.background != c.background) body_.word("highlight", s.background);
  if (s.spacing != c.spacing) {
    body_.word("expnd", s.spacing / 5);  // for readers that know only quarter points
    body_.word("expndtw", s.spacing);
  }
  if (s.underline != c.underline) {
    if (s.underline == 0) {
      body_.word("ulnone");
    } else {
      body_.word(underlineWord(s.underline).data());  // the names are C string literals
    }
  }
  auto toggle = [&](bool want, bool have, const char* on, const char* off) {
    if (want != have) body_.word(want ? on : off);
  };
  toggle(s.bold, c.bold, "b", "b0");
  toggle(s.italic, c.italic, "i", "i0");
  toggle(s.strike, c.strike, "strike", "strike0");
  toggle(s.protect, c.protect, "protect", "protect0");
  toggle(s.hidden, c.hidden, "v", "v0");
  if (s.vertical != c.vertical)
    body_.word(s.vertical > 0 ? "super" : s.vertical < 0 ? "sub" : "nosupersub");
  c = s;
}

void DocumentWriter::setLink(const QString& href) {
  if (href == link_) return;
  if (!link_.isEmpty()) {
    body_.raw("}}}");
    state_ = outside_;  // closing the groups brings back the state outside the field
  }
  link_ = href;
  if (href.isEmpty()) return;
  outside_ = state_;
  QString target = href;
  target.replace(u'"', QLatin1String("%22"));
  QString instruction = QStringLiteral("HYPERLINK \"%1\"").arg(target);
  if (target.startsWith(u'#') && target.size() > 1)  // a place in this document
    instruction = QStringLiteral("HYPERLINK \\l \"%1\"").arg(target.mid(1));
  body_.raw("{");
  body_.word("field");
  body_.raw("{\\*");
  body_.word("fldinst");
  body_.raw("{");
  body_.text(instruction, RtfOutput::Encoding::UnicodeOnly);
  body_.raw("}}{");
  body_.word("fldrslt");
  body_.raw("{");
}

RtfOutput::Encoding DocumentWriter::encodingOf(int font) const {
  if (font < 0 || std::size_t(font) >= fonts_.size()) return RtfOutput::Encoding::UnicodeOnly;
  switch (textenc::codePageOfCharset(fonts_[font].charset)) {
    case 0:
      return RtfOutput::Encoding::Ansi;
    case textenc::kSymbolCodePage:
      return RtfOutput::Encoding::Symbol;
    default:
      return RtfOutput::Encoding::UnicodeOnly;
  }
}

}  // namespace

QByteArray RtfWriter::write(const QTextDocument& doc, int from, int to,
                            const WriteOptions& options) {
  const int count = doc.characterCount();
  from = std::clamp(from, 0, std::max(0, count - 1));
  to = std::clamp(to, from, count);
  return DocumentWriter(doc, from, to, options).run();
}

}  // namespace richedit::rtf
