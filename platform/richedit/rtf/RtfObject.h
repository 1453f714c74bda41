#pragma once
// What a kept {\object} group says about its object (embedded or linked, its class, its data),
// and the group this program writes for an object: \objemb or \objlink, \objclass, \objdata in
// hex, and a \result picture of what the object shows, so that other word processors show at
// least its icon.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace richedit::rtf {

struct ObjectGroup {
  bool embedded = false;
  bool linked = false;
  QByteArray className;
  QByteArray data;       // \objdata, decoded
  bool hasData = false;  // an \objdata group was found
  QByteArray view;       // how this program last showed it: "icon", "content" or empty
};

// Reads the parts of an {\object ...} group; a group that is not sound gives what could be found.
ObjectGroup readObjectGroup(QByteArrayView group);

struct ObjectToWrite {
  bool linked = false;
  QByteArray className;
  QByteArray data;
  bool iconView = true;
  QImage result;  // the picture shown; written as PNG
};

QByteArray writeObjectGroup(const ObjectToWrite& object);

}  // namespace richedit::rtf
