// The document layout of objects: what is written reads back, and damaged or hostile data is
// refused with a reason instead of read past its end.

#include <gtest/gtest.h>

#include <QtEndian>

#include "platform/ole/ObjectLayout.h"

namespace ole {
namespace {

PackageContent vetLetter() {
  PackageContent content;
  content.label = QStringLiteral("vet letter.pdf");
  content.sourcePath = QStringLiteral("/home/ann/Documents/vet letter.pdf");
  content.bytes = QByteArray("%PDF-1.4\n\0binary\xff", 18);
  return content;
}

Ole1Object embedded(const QByteArray& native) {
  Ole1Object object;
  object.className = "Package";
  object.native = native;
  return object;
}

TEST(ObjectLayout, APackageAndALinkReadBackAsWritten) {
  const QByteArray data = writeOle1Object(embedded(writePackageNative(vetLetter())));
  const LayoutResult read = readOle1Object(data);
  ASSERT_TRUE(read.object) << read.error.toStdString();
  EXPECT_EQ(read.object->className, "Package");
  const PackageResult package = readPackageNative(read.object->native);
  ASSERT_TRUE(package.content) << package.error.toStdString();
  EXPECT_EQ(package.content->label, vetLetter().label);
  EXPECT_EQ(package.content->sourcePath, vetLetter().sourcePath);
  EXPECT_EQ(package.content->bytes, vetLetter().bytes);
  EXPECT_EQ(writeOle1Object(*read.object), data);  // the same bytes again

  Ole1Object link;
  link.format = kFormatLinked;
  link.className = "Package";
  link.topic = "/home/ann/weights.ods";
  link.updateOption = OLEUPDATE_ONCALL;
  const LayoutResult linked = readOle1Object(writeOle1Object(link));
  ASSERT_TRUE(linked.object);
  EXPECT_EQ(linked.object->format, kFormatLinked);
  EXPECT_EQ(linked.object->topic, link.topic);
  EXPECT_EQ(linked.object->updateOption, OLEUPDATE_ONCALL);
}

QByteArray withU32At(QByteArray data, qsizetype at, std::uint32_t value) {
  qToLittleEndian(value, data.data() + at);
  return data;
}

TEST(ObjectLayout, DamagedDataIsRefusedWithAReason) {
  const QByteArray native = writePackageNative(vetLetter());
  const QByteArray whole = writeOle1Object(embedded(native));
  // Offsets: version 0, format 4, class length 8, "Package\0" 12..19, topic 20, item 24,
  // native size 28, native data 32.
  const qsizetype dataSizeAt = native.size() - vetLetter().bytes.size() - 4;
  struct Case {
    const char* what;
    QByteArray data;
    bool layoutRefused;
  };
  const Case cases[] = {
      {"nothing at all", QByteArray(), true},
      {"cut inside the header", whole.left(6), true},
      {"a class name longer than the data", withU32At(whole, 8, 0x7FFFFFFF), true},
      {"native data longer than the data", withU32At(whole, 28, 1000000), true},
      {"native data claiming 4 GB", withU32At(whole, 28, 0xFFFFFFFF), true},
      {"an unknown format", withU32At(whole, 4, 7), true},
      {"a package cut short", writeOle1Object(embedded(native.left(native.size() - 3))), false},
      {"a package claiming 4 GB",
       writeOle1Object(embedded(withU32At(native, dataSizeAt, 0xFFFFFFFF))), false},
      {"a package without a name's end", writeOle1Object(embedded(QByteArray("\2\0abc", 5))),
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LayoutResult layout = readOle1Object(c.data);
    if (c.layoutRefused) {
      EXPECT_FALSE(layout.object);
      EXPECT_FALSE(layout.error.isEmpty());
      continue;
    }
    ASSERT_TRUE(layout.object);
    const PackageResult package = readPackageNative(layout.object->native);
    EXPECT_FALSE(package.content);
    EXPECT_FALSE(package.error.isEmpty());
  }
}

}  // namespace
}  // namespace ole
