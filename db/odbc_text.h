#pragma once
// Text handed to the ODBC calls: UTF-16 for the wide ones, bytes for the narrow ones.
#include <sql.h>

#include <QByteArray>
#include <QString>
#include <string>

namespace db {

inline std::u16string odbc_wide(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
}

inline SQLWCHAR* odbc_wptr(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }

inline SQLCHAR* odbc_nptr(QByteArray& s) { return reinterpret_cast<SQLCHAR*>(s.data()); }

}  // namespace db
