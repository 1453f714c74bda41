#pragma once
// The listener that turns RTF tokens into a document: it keeps the group stack, the font,
// colour and list tables, and sends text, breaks and pictures to the document builder.

#include <QByteArrayView>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextImageFormat>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/richedit/rtf/RtfDocumentBuilder.h"
#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfLexer.h"
#include "platform/richedit/rtf/RtfPicture.h"
#include "platform/richedit/rtf/RtfReaderState.h"
#include "platform/richedit/rtf/RtfTableRow.h"

namespace richedit::rtf {

enum class Destination : std::uint8_t {
  Text,
  Skip,
  FontTable,
  ColorTable,
  Pict,
  Field,
  FieldInstruction,
  Pn,
  PnTextBefore,
  PnTextAfter,
  ListTable,
  List,
  ListLevel,
  LevelText,
  ListOverrideTable,
  ListOverride,
  Object,
  ShpPict,
  Shape,
  NestTableProps,  // skipped; its end is the end of a row of a table inside a cell
  StyleSheet,
  Style,  // one entry of the style sheet
  ShapeInstruction,
  ShapeProperty,
  ShapeName,
  ShapeValue,
  DrawingObject,
};

class RtfParser : public RtfListener {
 public:
  enum class Objects { Keep, ResultOnly };
  RtfParser(QByteArrayView data, QTextCursor& cursor, Objects objects);
  ~RtfParser() override;

  void finish(FinalBreak finalBreak = FinalBreak::Drop);

  void onGroupOpen(qsizetype offset) override;
  void onGroupClose(qsizetype end) override;
  void onControlWord(const ControlWord& word) override;
  void onControlSymbol(char symbol) override;
  void onText(std::string_view bytes) override;
  void onHexByte(unsigned char byte) override;
  void onBinary(std::string_view bytes) override;
  bool awaitsTrailByte() const override { return leadPending_; }

  static constexpr int kMaxDepth = 1000;

 private:
  struct State {
    Destination dest = Destination::Text;
    CharProps chr;
    ParaProps para;
    int uc = 1;
    qsizetype open = 0;               // offset of the group's '{'
    std::uint64_t contentAtOpen = 0;  // contentSerial_ when the group opened
    bool untouched = true;            // no token yet in this group but a \*
  };
  struct PendingPicture {
    QTextImageFormat format;
    qsizetype from = 0, to = 0;  // the bytes of the group it came from
    bool inShpPict = false;      // read inside a \shppict group
    bool wholeShpPict = false;   // stands for that whole group, which has closed
    QByteArray source;           // written in place of the group's bytes when not empty
  };
  // A control word as a style sheet entry carries it, to be replayed where the style is used.
  struct StyleWord {
    const WordInfo* info;
    bool hasParameter;
    int parameter;
  };
  struct StyleEntry {
    static constexpr int kNoBase = 222;  // what \sbasedon222 means: based on nothing
    int number = 0;
    Word kind = Word::ParagraphStyle;
    int basedOn = kNoBase;
    std::vector<StyleWord> words;
  };
  struct FieldFrame {
    std::size_t depth;
    QString instruction;
    int link = -1;
  };

  State& top() { return stack_.back(); }
  bool skipping() const {
    return overflow_ > 0 || stack_.empty() || stack_.back().dest == Destination::Skip ||
           stack_.back().dest == Destination::NestTableProps;
  }

  // handlers by kind of control word
  void destination(const WordInfo& info);
  void flag(Word id);
  void toggle(Word id, int on);
  void value(Word id, int parameter);
  void symbol(Word id);

  void dispatch(const WordInfo& info, bool hasParameter, int parameter);
  void startDestination(Destination dest);
  // style sheets
  bool styleWord(const WordInfo& info, bool hasParameter, int parameter);
  void applyStyle(Word kind, int number);
  void collectStyleWords(const std::map<int, StyleEntry>& styles, int number,
                         std::vector<int>& seen, std::vector<StyleWord>& words) const;
  void closeGroup(const State& closed, qsizetype end);

  // text
  int currentCodePage();
  void appendBytes(std::string_view bytes, int page);
  void flushBytes();
  void deliver(const QString& text);
  void appendDocumentText(const QString& text);
  void appendDocumentChar(QChar c);
  void prepareContent();
  void insertCellSeparators();
  // table rows (RtfParserTable.cpp)
  bool inTableRow() const;
  void cellEnds();
  void paragraphEndsInTable();
  void rowEnds();
  void commitFont();
  void syncFormat();
  QTextCharFormat charFormat(const CharProps& props) const;
  const QTextCharFormat& cachedCharFormat(const CharProps& props);
  QTextBlockFormat blockFormat(const ParaProps& props) const;
  void forgetFormats() {
    formatCache_.clear();
    lastBlock_.reset();
  }
  void endParagraph();
  void paragraphMark();  // \par: ends the paragraph, or a paragraph inside a table cell
  bool skipFallback();
  void footnoteMark();

  // pictures and objects
  void finishPicture(const State& closed, qsizetype end);
  void emitPicture(const QString& kind, QSize twips, qsizetype from, qsizetype to);
  void flushPicture();

  QByteArrayView data_;
  RtfDocumentBuilder builder_;
  Objects objects_;
  std::vector<State> stack_;
  int overflow_ = 0;        // groups opened beyond kMaxDepth
  bool done_ = false;       // the document's outermost group has closed
  bool ignorable_ = false;  // \* seen: an unknown destination that follows is skipped
  int fallbackLeft_ = 0;    // characters after \u still to skip

  std::string bytes_;  // text bytes not yet decoded
  QString decoded_;    // reused for every decoding
  int bytesPage_ = 0;
  bool leadPending_ = false;  // bytes_ ends with a lead byte of bytesPage_
  int ansiPage_ = 1252;
  int defaultFont_ = 0;

  std::map<int, FontEntry> fonts_;
  int fontNumber_ = 0;
  FontEntry font_;
  bool fontOpen_ = false;
  std::vector<std::optional<QColor>> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorSet_ = false;

  Numbering pn_;
  QString pnBefore_, pnAfter_;
  std::map<int, std::vector<ListLevel>> lists_;  // by \listid
  std::vector<ListLevel> list_;
  int listId_ = 0;
  ListLevel level_;
  std::map<int, int> overrides_;  // \ls to \listid
  int overrideLs_ = 0, overrideId_ = 0;

  StyleEntry style_;  // the style sheet entry being read
  std::map<int, StyleEntry> paragraphStyles_, characterStyles_;

  std::vector<FieldFrame> fields_;
  QStringList links_;

  PictureData pict_;
  HexDecoder hex_;
  PictureData object_;  // \objw \objh and scales of the object group being read
  std::unique_ptr<PendingPicture> pending_;
  bool sawShpPict_ = false;
  // Floating shapes: the name of the property being read, and whether the shape's picture or
  // text box is already in the document, so that its fallback result is not shown twice.
  QString shapeName_;
  bool shapeShown_ = false;
  int footnotes_ = 0;             // footnote marks numbered so far
  qsizetype extendOnClose_ = -1;  // a \nonshppict group that joins the pending picture

  // Building a QTextCharFormat costs more than the text it formats, so recent ones are kept.
  std::vector<std::pair<CharProps, QTextCharFormat>> formatCache_;
  std::optional<std::pair<ParaProps, QTextBlockFormat>> lastBlock_;
  CharProps runProps_;
  bool runSynced_ = false;
  int cellsPending_ = 0;  // \cell seen: the next cell's text starts after a tab
  bool cellBreakPending_ = false;  // a paragraph of a cell ended: a line break if text follows
  RtfTableRow row_;
  bool paragraphHasContent_ = false;
  std::uint64_t contentSerial_ = 0;  // counts what has gone into the document
  // True while nothing has gone into the document since the group opened: only such a group
  // can be kept byte for byte, or its bytes would bring that content back a second time.
  // Kept groups must also begin with their word, so that their bytes read the same anywhere.
  bool groupIsFresh() { return wordIsFirst_ && top().contentAtOpen == contentSerial_; }
  bool wordIsFirst_ = false;  // the control word being handled is the first of its group
  // The document's character set and default font are set in its header: the outermost group
  // before any text. Inside a nested group (a picture or object kept byte for byte, say) they
  // would change how the text around that group decodes, and differently once it is saved.
  bool atDocumentHead() const { return stack_.size() == 1 && contentSerial_ == 0; }
  void touch() {
    if (!stack_.empty()) top().untouched = false;
  }
};

}  // namespace richedit::rtf
