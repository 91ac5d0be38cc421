#pragma once
#include <QString>

namespace rt {

// The family that stands in for a Windows font name here ("宋体" -> "AR PL UMing CN",
// "楷体_GB2312" -> "AR PL UKai CN"); other names are returned as given.
QString font_family(const QString& windows_name);

}  // namespace rt
