#include "runtime/fonts.h"

namespace rt {

QString font_family(const QString& windows_name) {
  struct Substitute {
    const char16_t* from;
    const char* to;
  };
  static const Substitute table[] = {
      {u"宋体", "AR PL UMing CN"},
      {u"新宋体", "AR PL UMing CN"},
      {u"楷体_GB2312", "AR PL UKai CN"},
      {u"楷体", "AR PL UKai CN"},
      // Metric-compatible with Arial: the wait window and wren's 13-pixel status bar were laid
      // out for its line height, which whatever else a machine maps "Arial" to may exceed.
      {u"Arial", "Liberation Sans"},
  };
  for (const Substitute& s : table)
    if (windows_name == QString::fromUtf16(s.from)) return QString::fromLatin1(s.to);
  return windows_name;
}

}  // namespace rt
