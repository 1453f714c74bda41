#pragma once
// An entry can come from anyone, so opening an object's file must never run code. A file is
// judged by what it holds and by its name: a program (ELF, PE, Mach-O), a script (#!), a file
// marked executable, or a name the desktop would run. Office documents are opened: their
// programs guard their macros themselves.

#include <QByteArrayView>
#include <QString>

namespace ole {

// Why the file must not be opened, in words for the person; empty when it may be.
QString whyNotOpened(const QString& fileName, QByteArrayView head, bool executableBit);
// The same for a file on disk (reads its first bytes and its mode).
QString whyNotOpenedOnDisk(const QString& path);

// Writes bytes to a private temporary copy named after fileName (folder readable by the user
// alone, file without the executable bit); answers its path, or empty with error set.
QString writePrivateCopy(const QString& fileName, QByteArrayView bytes, QString& error);

// A file name safe to use inside a folder: no folders, no leading dots, never empty.
QString safeFileName(const QString& label);

}  // namespace ole
