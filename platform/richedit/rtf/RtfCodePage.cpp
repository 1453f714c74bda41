#include "platform/richedit/rtf/RtfCodePage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace richedit::rtf {

namespace {

constexpr int kSymbolPage = 42;  // bytes of the Symbol character set are kept as they are

std::vector<const char*> iconvNames(int codePage) {
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
    case 936:
      return {"CP936", "GBK"};
    case 949:
      return {"CP949", "UHC", "EUC-KR"};
    case 950:
      return {"CP950", "BIG5"};
    case 1361:
      return {"JOHAB", "CP1361"};
    case 10000:
      return {"MACINTOSH", "MAC"};
    case 10006:
      return {"MAC-GREEK", "MACGREEK"};
    case 10007:
      return {"MAC-CYRILLIC", "MACCYRILLIC"};
    case 10029:
      return {"MAC-CENTRALEUROPE", "MACCENTRALEUROPE"};
    case 10079:
      return {"MAC-IS", "MACICELAND"};
    case 10081:
      return {"MAC-TURKISH", "MACTURKISH"};
    default:
      break;
  }
  static thread_local std::string name;
  name = "CP" + std::to_string(codePage);
  return {name.c_str()};
}

iconv_t openDecoder(int codePage) {
  for (const char* name : iconvNames(codePage)) {
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd != reinterpret_cast<iconv_t>(-1)) return cd;
  }
  return reinterpret_cast<iconv_t>(-1);
}

using Table = std::array<char16_t, 256>;

Table buildTable(int codePage) {
  Table table;
  for (int b = 0; b < 256; ++b) table[b] = static_cast<char16_t>(b);
  table[0] = u' ';
  if (codePage == kSymbolPage) return table;
  iconv_t cd = openDecoder(codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = openDecoder(1252);
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (int b = 0x80; b < 256; ++b) {
    char in = static_cast<char>(b);
    char16_t unit[2] = {};
    char* inPtr = &in;
    size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(unit);
    size_t outLeft = sizeof unit;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
        outLeft == sizeof unit - 2)
      table[b] = unit[0];
  }
  iconv_close(cd);
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

void decodeDoubleByte(int codePage, std::string_view bytes, QString& out) {
  iconv_t cd = openDecoder(codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (unsigned char b : bytes) out.append(QChar(b ? b : u' '));
    return;
  }
  const qsizetype start = out.size();
  std::vector<char16_t> buffer(bytes.size() + 1);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const auto units = (buffer.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t);
    out.append(reinterpret_cast<const QChar*>(buffer.data()), static_cast<qsizetype>(units));
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // A byte the page cannot read (or a lead byte without its trail) keeps its own value.
    const auto bad = static_cast<unsigned char>(*in);
    out.append(QChar(bad ? bad : u' '));
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  for (qsizetype i = start; i < out.size(); ++i)
    if (out[i].unicode() == 0) out[i] = u' ';
}

}  // namespace

int codePageOfCharset(int charset) {
  switch (charset) {
    case 2:
      return kSymbolPage;
    case 77:
      return 10000;
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
  for (int charset :
       {2, 77, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 254, 255})
    if (codePageOfCharset(charset) == codePage) return charset;
  return 0;
}

bool CodePageDecoder::isDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
}

void CodePageDecoder::decode(int codePage, std::string_view bytes, QString& out) {
  if (isDoubleByte(codePage)) {
    decodeDoubleByte(codePage, bytes, out);
    return;
  }
  const Table& table = tableFor(codePage);
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(bytes.size()));
  QChar* dst = out.data() + start;
  for (unsigned char b : bytes) *dst++ = QChar(table[b]);
}

}  // namespace richedit::rtf
