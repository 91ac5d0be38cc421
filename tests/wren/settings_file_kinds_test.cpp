// The real wren reads file_name from user.ini when F2 is pressed: whatever stands at its path
// (a FIFO nobody writes, a link to an endless device, a folder, a file past the reader's
// bound) reads as no file, and the snapshot goes to 000.bmp at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

#include "tests/support/temp_program_folder.h"
#include "tests/wren/bmp_reader.h"
#include "tests/wren/wren_process.h"

namespace wren::test {
namespace {

struct Kind {
  const char* what;
  std::function<bool(const QString&)> make;
};

bool write_past_the_bound(const QString& path) {
  QFile f(path);
  const QByteArray head = "[database]\r\nfile_name=photo.bmp\r\n;";
  return f.open(QIODevice::WriteOnly) && f.write(head) == head.size() &&
         f.write(QByteArray(16 * 1024 * 1024, ' ')) == 16 * 1024 * 1024;
}

TEST(WrenSettingsFileKinds, SnapshotGoesToTheDefaultPictureAtOnce) {
  const Kind kinds[] = {
      {"FIFO",
       [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0644) == 0; }},
      {"link to /dev/zero", [](const QString& p) { return QFile::link("/dev/zero", p); }},
      {"folder", [](const QString& p) { return QDir().mkpath(p); }},
      {"file past the bound", write_past_the_bound},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(std::string("user.ini a ") + kind.what);
    ::test::TempProgramFolder folder;
    WrenProcess wren(folder.path());
    wren.set_cameras("[/dev/video0]\ncard = Emulated Camera\nformats = YUYV 640x480\n");
    ASSERT_TRUE(kind.make(folder.file(QStringLiteral("user.ini"))));
    QElapsedTimer clock;
    clock.start();
    const WrenResult r = wren.run({"wait picture", "menu mnuCopy"}, 30000);
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(r.exit_status, 0) << r.lines.join(QLatin1Char('\n')).toStdString()
                                << r.errors.toStdString();
    const Bitmap bmp = read_bmp(folder.file(QStringLiteral("000.bmp")));
    EXPECT_EQ(bmp.error, QString());
    EXPECT_EQ(bmp.width, 640);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("photo.bmp"))));
  }
}

}  // namespace
}  // namespace wren::test
