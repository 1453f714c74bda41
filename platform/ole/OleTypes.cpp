#include "platform/ole/OleTypes.h"

#include "platform/ole/ErrorInfo.h"

namespace ole {

QString messageOf(HRESULT hr) {
  QString described = takeErrorInfo();
  if (!described.isEmpty()) return described;
  switch (static_cast<std::uint32_t>(hr)) {
    case 0x80004001u:
      return QStringLiteral("Not implemented");
    case 0x80004002u:
      return QStringLiteral("No such interface supported");
    case 0x80004005u:
      return QStringLiteral("Unspecified error");
    case 0x8007000Eu:
      return QStringLiteral("Not enough memory resources are available to complete this operation");
    case 0x80070057u:
      return QStringLiteral("The parameter is incorrect");
    case 0x80070005u:
      return QStringLiteral("Access is denied");
    case 0x80040180u:
      return QStringLiteral("Object has no verbs");
    case 0x80040181u:
      return QStringLiteral("Invalid verb for OLE object");
    case 0x800401E5u:
      return QStringLiteral("No object for moniker");
    default:
      return QStringLiteral("Error 0x%1").arg(quint32(hr), 8, 16, QLatin1Char('0')).toUpper();
  }
}

}  // namespace ole
