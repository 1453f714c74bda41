#include "platform/ole/FileSafety.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

namespace ole {

namespace {

const char* const kRunnableSuffixes[] = {"desktop", "sh",  "bash", "py",       "pl",  "rb",
                                         "js",      "jar", "exe",  "com",      "bat", "cmd",
                                         "msi",     "ps1", "vbs",  "appimage", "run", "bin"};

QString programKind(QByteArrayView head) {
  if (head.startsWith("\x7F"
                      "ELF"))
    return QStringLiteral("a Linux program (ELF)");
  if (head.startsWith("MZ")) return QStringLiteral("a Windows program");
  static const unsigned char machO[][4] = {{0xFE, 0xED, 0xFA, 0xCE},
                                           {0xFE, 0xED, 0xFA, 0xCF},
                                           {0xCE, 0xFA, 0xED, 0xFE},
                                           {0xCF, 0xFA, 0xED, 0xFE},
                                           {0xCA, 0xFE, 0xBA, 0xBE}};
  for (const auto& magic : machO) {
    if (head.size() >= 4 && std::equal(magic, magic + 4, head.data(), [](unsigned char a, char b) {
          return a == static_cast<unsigned char>(b);
        }))
      return QStringLiteral("a macOS program (Mach-O)");
  }
  if (head.startsWith("#!")) return QStringLiteral("a script (it starts with #!)");
  return {};
}

QTemporaryDir& privateFolder() {
  // Made on first need with the user's permissions alone, and removed when the program ends.
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kennel-logbook-objects-XXXXXX"));
  return folder;
}

}  // namespace

QString whyNotOpened(const QString& fileName, QByteArrayView head, bool executableBit) {
  const QString base = QFileInfo(fileName).fileName();
  QString because;
  if (const QString kind = programKind(head); !kind.isEmpty()) {
    because = QStringLiteral("it is %1").arg(kind);
  } else if (executableBit) {
    because = QStringLiteral("it is marked as a program that may be run");
  } else {
    const QString lower = base.toLower();
    for (const char* suffix : kRunnableSuffixes) {
      if (lower.endsWith(QLatin1Char('.') + QLatin1String(suffix))) {
        because =
            QStringLiteral("files ending in .%1 are run by the desktop").arg(QLatin1String(suffix));
        break;
      }
    }
  }
  if (because.isEmpty()) return {};
  return QStringLiteral(
             "\"%1\" was not opened, because %2: opening it could run code that came "
             "with the entry. You can save a copy and look at it with a program you "
             "trust.")
      .arg(base, because);
}

QString whyNotOpenedOnDisk(const QString& path) {
  QFile file(path);
  QByteArray head;
  if (file.open(QIODevice::ReadOnly)) head = file.read(8);
  const bool executable =
      QFileInfo(path).permissions() & (QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther);
  return whyNotOpened(path, head, executable);
}

QString safeFileName(const QString& label) {
  QString name = QFileInfo(QString(label).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
  while (name.startsWith(QLatin1Char('.'))) name.remove(0, 1);
  name.remove(QChar(0));
  return name.isEmpty() ? QStringLiteral("object") : name;
}

QString writePrivateCopy(const QString& fileName, QByteArrayView bytes, QString& error) {
  QTemporaryDir& folder = privateFolder();
  if (!folder.isValid()) {
    error =
        QStringLiteral("No private temporary folder could be made: %1").arg(folder.errorString());
    return {};
  }
  // One sub-folder per copy, so that two objects of the same name never overwrite each other.
  static int serial = 0;
  const QString sub = folder.path() + QStringLiteral("/%1").arg(++serial);
  if (!QDir().mkpath(sub) ||
      !QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
    error = QStringLiteral("The temporary folder %1 could not be made.").arg(sub);
    return {};
  }
  const QString path = sub + QLatin1Char('/') + safeFileName(fileName);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size() ||
      !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || !file.commit()) {
    error = QStringLiteral("The temporary copy %1 could not be written: %2")
                .arg(path, file.errorString());
    return {};
  }
  return path;
}

}  // namespace ole
