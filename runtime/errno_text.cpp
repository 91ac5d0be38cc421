#include "runtime/errno_text.h"

#include <cerrno>
#include <cstring>

namespace rt {
namespace {

// What a file's write, copy or rename meets on a salon's machine.
const struct {
  int number;
  const char* text;
} kTexts[] = {
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "超出磁盘配额"},
    {EACCES, "没有访问权限"},
    {EPERM, "不允许的操作"},
    {EROFS, "文件系统是只读的"},
    {EIO, "读写设备出错"},
    {ENOENT, "文件或文件夹不存在"},
    {EEXIST, "文件已存在"},
    {ENAMETOOLONG, "文件名太长"},
    {EISDIR, "这是一个文件夹"},
    {ENOTDIR, "路径中有一项不是文件夹"},
    {ELOOP, "符号链接层次太多"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "打开的文件太多"},
    {EBUSY, "文件正被使用"},
    {ETXTBSY, "文件正被使用"},
    {EFBIG, "文件太大"},
    {EXDEV, "不能移到另一个文件系统"},
    {ENOMEM, "内存不足"},
    {EINTR, "操作被中断"},
};

}  // namespace

QString errno_text(int error_number) {
  for (const auto& t : kTexts)
    if (t.number == error_number) return QString::fromUtf8(t.text);
  return QStringLiteral("系统错误%1: %2")
      .arg(error_number)
      .arg(QString::fromLocal8Bit(std::strerror(error_number)));
}

}  // namespace rt
