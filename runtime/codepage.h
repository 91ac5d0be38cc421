#pragma once
// Code page 936 at file boundaries: the settings file and the error log are shared with
// Windows-era programs of the salon application.
#include <QByteArray>
#include <QString>

namespace rt {

// Decodes as GB18030, which accepts everything Windows' 936 accepts.
QString from_cp936(const QByteArray& bytes);
// Encodes as GBK; a character GBK lacks becomes '?'.
QByteArray to_cp936(const QString& text);

}  // namespace rt
