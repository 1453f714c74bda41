#pragma once
// The platform's layout of an object's data in a document (the OLE 1 stream that RTF's \objdata
// carries), and the packager's native data inside it: a file's name, where it came from and its
// bytes. Written by hand because no maintained library reads or writes it. Every length is
// checked against the data it describes: a damaged or hostile layout is refused with a reason,
// never read past its end.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

#include "platform/ole/OleTypes.h"

namespace ole {

constexpr std::uint32_t kOle1Version = 0x00000501;
constexpr std::uint32_t kFormatLinked = 1;
constexpr std::uint32_t kFormatEmbedded = 2;
// No file larger than this is taken into an entry, nor read out of one.
constexpr qint64 kMaxPackageBytes = 512LL * 1024 * 1024;

struct Ole1Object {
  std::uint32_t format = kFormatEmbedded;         // kFormatLinked or kFormatEmbedded
  QByteArray className;                           // "Package"
  QByteArray topic;                               // a link's file
  QByteArray item;                                // a link's place in the file
  QByteArray native;                              // an embedded object's own data
  std::uint32_t updateOption = OLEUPDATE_ALWAYS;  // a link's
  QByteArray networkName;                         // a link's
};

struct LayoutResult {
  std::optional<Ole1Object> object;
  QString error;  // why the data was refused
};

LayoutResult readOle1Object(QByteArrayView data);
// The layout of the object followed by an empty presentation (the RTF's \result shows it).
QByteArray writeOle1Object(const Ole1Object& object);

struct PackageContent {
  QString label;       // the file's name as shown
  QString sourcePath;  // where it was taken from
  QString tempPath;    // where the packager last put it
  QByteArray bytes;
};

struct PackageResult {
  std::optional<PackageContent> content;
  QString error;
};

PackageResult readPackageNative(QByteArrayView native);
QByteArray writePackageNative(const PackageContent& content);

}  // namespace ole
