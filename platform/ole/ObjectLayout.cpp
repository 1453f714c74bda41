#include "platform/ole/ObjectLayout.h"

#include <QtEndian>

namespace ole {

namespace {

// Reads little-endian numbers and strings from the front of the data, noting the first
// length that runs past its end.
class Reader {
 public:
  explicit Reader(QByteArrayView data) : data_(data) {}
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  qsizetype left() const { return data_.size() - pos_; }

  std::uint32_t u32() {
    if (!need(4, "a length")) return 0;
    const auto v = qFromLittleEndian<std::uint32_t>(data_.data() + pos_);
    pos_ += 4;
    return v;
  }
  std::uint16_t u16() {
    if (!need(2, "a field")) return 0;
    const auto v = qFromLittleEndian<std::uint16_t>(data_.data() + pos_);
    pos_ += 2;
    return v;
  }
  QByteArray bytes(qint64 count, const char* what) {
    if (count < 0 || !need(count, what)) return {};
    QByteArray v = data_.sliced(pos_, qsizetype(count)).toByteArray();
    pos_ += qsizetype(count);
    return v;
  }
  // A length-prefixed string whose length counts its terminating zero.
  QByteArray prefixedString(const char* what) {
    const std::uint32_t length = u32();
    if (length == 0) return {};
    QByteArray v = bytes(length, what);
    if (v.endsWith('\0')) v.chop(1);
    return v;
  }
  QByteArray zeroTerminated(const char* what) {
    const qsizetype end = data_.indexOf('\0', pos_);
    if (end < 0) {
      fail(what);
      return {};
    }
    QByteArray v = data_.sliced(pos_, end - pos_).toByteArray();
    pos_ = end + 1;
    return v;
  }

 private:
  bool need(qint64 count, const char* what) {
    if (!ok()) return false;
    if (count > left()) {
      fail(what);
      return false;
    }
    return true;
  }
  void fail(const char* what) {
    if (ok())
      error_ = QStringLiteral("The object's data is damaged: %1 runs past its end.")
                   .arg(QLatin1String(what));
  }

  QByteArrayView data_;
  qsizetype pos_ = 0;
  QString error_;
};

void putU32(QByteArray& out, std::uint32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}

void putU16(QByteArray& out, std::uint16_t v) {
  char b[2];
  qToLittleEndian(v, b);
  out.append(b, 2);
}

void putPrefixed(QByteArray& out, const QByteArray& text) {
  if (text.isEmpty()) {
    putU32(out, 0);
    return;
  }
  putU32(out, std::uint32_t(text.size() + 1));
  out.append(text);
  out.append('\0');
}

}  // namespace

LayoutResult readOle1Object(QByteArrayView data) {
  Reader in(data);
  Ole1Object object;
  const std::uint32_t version = in.u32();
  object.format = in.u32();
  if (!in.ok()) return {std::nullopt, in.error()};
  if ((version & 0xFFFF) != kOle1Version ||
      (object.format != kFormatLinked && object.format != kFormatEmbedded)) {
    return {std::nullopt,
            QStringLiteral("The object's data is not in a layout this program reads.")};
  }
  object.className = in.prefixedString("the class name");
  object.topic = in.prefixedString("the topic");
  object.item = in.prefixedString("the item");
  if (object.format == kFormatEmbedded) {
    const std::uint32_t size = in.u32();
    if (in.ok() && qint64(size) > kMaxPackageBytes)
      return {std::nullopt, QStringLiteral("The object claims %1 bytes, more than an entry keeps.")
                                .arg(qulonglong(size))};
    object.native = in.bytes(size, "the object's data");
  } else {
    object.networkName = in.prefixedString("the network name");
    in.u32();  // reserved
    object.updateOption = in.u32();
  }
  if (!in.ok()) return {std::nullopt, in.error()};
  return {std::move(object), {}};
}

QByteArray writeOle1Object(const Ole1Object& object) {
  QByteArray out;
  putU32(out, kOle1Version);
  putU32(out, object.format);
  putPrefixed(out, object.className);
  putPrefixed(out, object.topic);
  putPrefixed(out, object.item);
  if (object.format == kFormatEmbedded) {
    putU32(out, std::uint32_t(object.native.size()));
    out.append(object.native);
  } else {
    putPrefixed(out, object.networkName);
    putU32(out, 0);
    putU32(out, object.updateOption);
  }
  putU32(out, kOle1Version);  // an empty presentation: the document's result shows the object
  putU32(out, 0);
  return out;
}

PackageResult readPackageNative(QByteArrayView native) {
  Reader in(native);
  PackageContent content;
  in.u16();  // signature, 2
  content.label = QString::fromUtf8(in.zeroTerminated("the file's name"));
  content.sourcePath = QString::fromUtf8(in.zeroTerminated("the file's path"));
  in.u16();                             // reserved
  const std::uint16_t kind = in.u16();  // 3: an embedded file
  content.tempPath = QString::fromUtf8(in.prefixedString("the file's temporary path"));
  const std::uint32_t size = in.u32();
  if (!in.ok()) return {std::nullopt, in.error()};
  if (kind != 3) return {std::nullopt, QStringLiteral("The package does not hold a file.")};
  if (qint64(size) > kMaxPackageBytes)
    return {std::nullopt, QStringLiteral("The package claims %1 bytes, more than an entry keeps.")
                              .arg(qulonglong(size))};
  content.bytes = in.bytes(size, "the file's bytes");
  if (!in.ok()) return {std::nullopt, in.error()};
  return {std::move(content), {}};
}

QByteArray writePackageNative(const PackageContent& content) {
  QByteArray out;
  putU16(out, 2);
  out.append(content.label.toUtf8()).append('\0');
  out.append(content.sourcePath.toUtf8()).append('\0');
  putU16(out, 0);
  putU16(out, 3);
  putPrefixed(out, content.tempPath.toUtf8());
  putU32(out, std::uint32_t(content.bytes.size()));
  out.append(content.bytes);
  return out;
}

}  // namespace ole
