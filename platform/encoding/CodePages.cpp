#include "platform/encoding/CodePages.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/encoding/MacCodePages.h"
#include "platform/encoding/Windows1252.h"

namespace textenc {

namespace {

constexpr int kMacJapanese = 10001;

std::vector<std::string> iconvNames(int codePage) {
  switch (codePage) {
    case 437:
      return {"CP437", "IBM437"};
    case 850:
      return {"CP850", "IBM850"};
    case 852:
      return {"CP852", "IBM852"};
    case 866:
      return {"CP866", "IBM866"};
    case 874:
      return {"CP874", "WINDOWS-874", "TIS-620"};
    case 932:
      return {"CP932", "SHIFT_JIS"};
    case kMacJapanese:  // Shift-JIS as the Mac writes it; its few own bytes are read apart
      return {"SHIFT_JIS", "CP932"};
    case 936:
      return {"CP936", "GBK"};
    case 10008:  // Mac simplified Chinese: GB 2312, which GBK reads
      return {"GBK", "EUC-CN", "GB2312"};
    case 949:
    case 10003:  // Mac Korean: EUC-KR, which the unified Hangul page reads
      return {"CP949", "UHC", "EUC-KR"};
    case 950:
    case 10002:  // Mac traditional Chinese: Big Five
      return {"CP950", "BIG5"};
    case 1361:
      return {"JOHAB", "CP1361"};
    case 10000:
      return {"MACINTOSH", "MAC"};
    case 10007:
      return {"MAC-CYRILLIC", "MACCYRILLIC", "CP10007"};
    case 10029:
      return {"MAC-CENTRALEUROPE", "MACCENTRALEUROPE"};
    case 10079:
      return {"MAC-IS", "MACIS"};
    default:
      return {"CP" + std::to_string(codePage)};
  }
}

// An iconv conversion to UTF-16, closed when it goes.
class Decoder {
 public:
  explicit Decoder(int codePage) {
    for (const std::string& name : iconvNames(codePage)) {
      cd_ = iconv_open("UTF-16LE", name.c_str());
      if (valid()) return;
    }
  }
  ~Decoder() {
    if (valid()) iconv_close(cd_);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

using Table = std::array<char16_t, 256>;

Table windows1252Table() {
  Table table;
  for (int b = 0; b < 256; ++b) {
    const char byte = char(b);
    table[b] = decodeWindows1252(QByteArrayView(&byte, 1)).at(0).unicode();
  }
  return table;
}

Table buildTable(int codePage) {
  Table table = windows1252Table();
  table[0] = u' ';
  if (codePage == kSymbolCodePage) {
    for (int b = 0x20; b < 256; ++b) table[b] = char16_t(0xF000 + b);
    return table;
  }
  if (const char16_t* high = macPageHighHalf(codePage)) {
    for (int b = 0x80; b < 256; ++b) table[b] = high[b - 0x80] ? high[b - 0x80] : char16_t(b);
    return table;
  }
  if (codePage == 1252) return table;
  Decoder decoder(codePage);
  if (!decoder.valid()) return table;  // a page iconv does not know reads as Windows-1252
  for (int b = 0x80; b < 256; ++b) {
    char in = static_cast<char>(b);
    char16_t unit[2] = {};
    char* inPtr = &in;
    size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(unit);
    size_t outLeft = sizeof unit;
    iconv(decoder.get(), nullptr, nullptr, nullptr, nullptr);
    const bool ok = iconv(decoder.get(), &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) &&
                    outLeft == sizeof unit - 2;
    table[b] = ok ? unit[0] : char16_t(b);
  }
  return table;
}

const Table& tableFor(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<Table>> tables;
  std::lock_guard lock(mutex);
  auto& slot = tables[codePage];
  if (!slot) slot = std::make_unique<Table>(buildTable(codePage));
  return *slot;
}

// The Mac's single bytes of its Shift-JIS (at a character's start): a backslash, a no-break
// space, the copyright and trade mark signs and an ellipsis.
char16_t macJapaneseSingle(unsigned char b) {
  switch (b) {
    case 0x80:
      return u'\\';
    case 0xA0:
      return 0x00A0;
    case 0xFD:
      return 0x00A9;
    case 0xFE:
      return 0x2122;
    case 0xFF:
      return 0x2026;
    default:
      return 0;
  }
}

void appendWithIconv(const Decoder& decoder, std::string_view bytes, QString& out) {
  if (bytes.empty()) return;
  std::vector<char16_t> buffer(bytes.size() + 1);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  iconv(decoder.get(), nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    const size_t result = iconv(decoder.get(), &in, &inLeft, &outPtr, &outLeft);
    const auto units = (buffer.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t);
    out.append(reinterpret_cast<const QChar*>(buffer.data()), static_cast<qsizetype>(units));
    if (result != size_t(-1)) break;
    if (errno == E2BIG) continue;
    // A byte the page cannot read (or a lead byte without its trail) keeps its own value.
    out.append(QChar(char16_t(static_cast<unsigned char>(*in))));
    ++in;
    --inLeft;
    iconv(decoder.get(), nullptr, nullptr, nullptr, nullptr);
  }
}

void decodeDoubleByte(int codePage, std::string_view bytes, QString& out) {
  const Decoder decoder(codePage);
  const qsizetype start = out.size();
  if (!decoder.valid()) {
    const Table& table = tableFor(1252);
    for (unsigned char b : bytes) out.append(QChar(table[b]));
  } else if (codePage == kMacJapanese) {
    // Runs between the Mac's own single bytes go through iconv as they are.
    std::size_t run = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (isLeadByte(codePage, b)) {
        ++i;
        continue;
      }
      if (const char16_t single = macJapaneseSingle(b)) {
        appendWithIconv(decoder, bytes.substr(run, i - run), out);
        out.append(QChar(single));
        run = i + 1;
      }
    }
    if (run < bytes.size()) appendWithIconv(decoder, bytes.substr(run), out);
  } else {
    appendWithIconv(decoder, bytes, out);
  }
  for (qsizetype i = start; i < out.size(); ++i)
    if (out[i].unicode() == 0) out[i] = u' ';
}

}  // namespace

int codePageOfCharset(int charset) {
  switch (charset) {
    case 2:
      return kSymbolCodePage;
    case 77:
      return 10000;
    case 78:
      return 10001;
    case 79:
      return 10003;
    case 80:
      return 10008;
    case 81:
      return 10002;
    case 83:
      return 10005;
    case 84:
      return 10004;
    case 85:
      return 10006;
    case 86:
      return 10081;
    case 87:
      return 10021;
    case 88:
      return 10029;
    case 89:
      return 10007;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 254:
      return 437;
    case 255:
      return 850;
    default:
      return 0;
  }
}

int charsetOfCodePage(int codePage) {
  for (int charset = 1; charset < 256; ++charset)
    if (codePageOfCharset(charset) == codePage) return charset;
  return 0;
}

bool isDoubleByteCodePage(int codePage) {
  switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 10001:
    case 10002:
    case 10003:
    case 10008:
      return true;
    default:
      return false;
  }
}

bool isLeadByte(int codePage, unsigned char b) {
  switch (codePage) {
    case 932:
    case 10001:
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
    case 10002:
    case 10003:
    case 10008:
      return b >= 0x81 && b <= 0xFE;
    case 1361:
      return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    default:
      return false;
  }
}

void decodeCodePage(int codePage, std::string_view bytes, QString& out) {
  if (isDoubleByteCodePage(codePage)) {
    decodeDoubleByte(codePage, bytes, out);
    return;
  }
  const Table& table = tableFor(codePage);
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(bytes.size()));
  QChar* dst = out.data() + start;
  for (unsigned char b : bytes) *dst++ = QChar(table[b]);
}

int symbolByte(char16_t c) {
  return c >= 0xF020 && c <= 0xF0FF ? c - 0xF000 : -1;
}

}  // namespace textenc
