#include "wren/frm_main.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include "runtime/dialogs.h"
#include "runtime/fonts.h"
#include "wren/bmp_file.h"
#include "wren/capture/avicap.h"
#include "wren/frm_select.h"
#include "wren/picture_path.h"
#include "wren/wren_core.h"

namespace wren {

using namespace capture;

namespace {

frmMain* live_form = nullptr;

constexpr int kClientWidth = 522, kClientHeight = 421, kStatusHeight = 17;
constexpr std::uint32_t kScaledStyle = 0x50C40000, kUnscaledStyle = 0x50C00000;

const QString kFailureTitle = QStringLiteral("错误信息");

}  // namespace

QString capture_file_path() { return QDir::tempPath() + QStringLiteral("/TEMP.AVI"); }
QString video_copy_path() { return QDir::tempPath() + QStringLiteral("/myvideo.avi"); }

StatusBarControl::StatusBarControl(QWidget* parent) : QWidget(parent), label_(new QLabel(this)) {
  setObjectName(QStringLiteral("StatusBar"));
  setFixedHeight(kStatusHeight);
  // One sunken panel across the bar, a pixel in from its edges; the text gets the 13 pixels
  // inside the panel's frame, room for a line of the 8.25 point font.
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 1, 2, 1);
  row->addWidget(label_);
  label_->setFrameShape(QFrame::Panel);
  label_->setFrameShadow(QFrame::Sunken);
  QFont font(rt::font_family(QStringLiteral("Arial")));
  font.setPointSizeF(8.25);
  // Antialiased, not drawn from bitmaps as the application's 宋体 is.
  font.setStyleStrategy(QFont::PreferDefault);
  label_->setFont(font);
}

Workspace::Workspace(QWidget* parent) : QWidget(parent) {
  // The application workspace colour of the desktop.
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Dark));
  setPalette(p);
}

void Workspace::set_picture(const QImage& picture) {
  picture_ = picture;
  update();
}

void Workspace::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter(this).drawImage(0, 0, picture_);
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
  live_form = this;
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("拍照"));
  // The client area: the workspace above, the status bar along the bottom. Not a QStatusBar,
  // whose own spacing would leave the text too little of the bar's 17 pixels.
  auto* area = new QWidget(this);
  auto* column = new QVBoxLayout(area);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  client = new Workspace(area);
  StatusBar = new StatusBarControl(area);
  column->addWidget(client, 1);
  column->addWidget(StatusBar);
  setCentralWidget(area);
  build_menus();
  resize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
  Form_Load();
}

frmMain::~frmMain() {
  if (live_form == this) live_form = nullptr;
}

frmMain* frmMain::instance() { return live_form; }

void frmMain::build_menus() {
  // Each item is named as the program names it, so that it can be found by that name.
  auto item = [this](QMenu* menu, const char* name, const QString& text, void (frmMain::*handler)(),
                     QKeySequence key = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  mnuFile = menuBar()->addMenu(QStringLiteral("&F.文件"));
  mnuAllocate =
      item(mnuFile, "mnuAllocate", QStringLiteral("&Allocate"), &frmMain::mnuAllocate_Click);
  mnuExit = item(mnuFile, "mnuExit", QStringLiteral("&X.关闭"), &frmMain::mnuExit_Click);
  mnuEdit = menuBar()->addMenu(QStringLiteral("&E.拍照F2"));
  mnuCopy =
      item(mnuEdit, "mnuCopy", QStringLiteral("&C.拍照"), &frmMain::mnuCopy_Click, Qt::Key_F2);
  mnuControl = menuBar()->addMenu(QStringLiteral("&C.控制"));
  mnuStart = item(mnuControl, "mnuStart", QStringLiteral("&S.开始"), &frmMain::mnuStart_Click);
  mnuStart->setEnabled(false);  // and nothing enables it: wren records no video
  mnuDisplay =
      item(mnuControl, "mnuDisplay", QStringLiteral("&D.显示"), &frmMain::mnuDisplay_Click);
  mnuFormat = item(mnuControl, "mnuFormat", QStringLiteral("&F.设置"), &frmMain::mnuFormat_Click,
                   QKeySequence(Qt::CTRL | Qt::Key_F));
  mnuSource = item(mnuControl, "mnuSource", QStringLiteral("&O.来源"), &frmMain::mnuSource_Click);
  mnuCompression =
      item(mnuControl, "mnuCompression", QStringLiteral("&M.压缩"), &frmMain::mnuCompression_Click);
  mnuLine1 = mnuControl->addSeparator();
  mnuLine1->setObjectName(QStringLiteral("mnuLine1"));
  mnuSelect = item(mnuControl, "mnuSelect", QStringLiteral("&Select"), &frmMain::mnuSelect_Click,
                   QKeySequence(Qt::CTRL | Qt::Key_S));
  // The menu reverses the check marks of the two switches; their handlers act on the new state.
  mnuScale = item(mnuControl, "mnuScale", QStringLiteral("Sc&ale"), &frmMain::mnuScale_Click,
                  QKeySequence(Qt::CTRL | Qt::Key_A));
  mnuScale->setCheckable(true);
  mnuScale->setChecked(true);
  mnuPreview = item(mnuControl, "mnuPreview", QStringLiteral("&Preview"),
                    &frmMain::mnuPreview_Click, QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuPreview->setCheckable(true);
  mnuPreview->setChecked(true);
  mnuLine2 = mnuControl->addSeparator();
  mnuLine2->setObjectName(QStringLiteral("mnuLine2"));
  mnuAlwaysVisible = item(mnuControl, "mnuAlwaysVisible", QStringLiteral("Al&ways Visible"),
                          &frmMain::mnuAlwaysVisible_Click, QKeySequence(Qt::CTRL | Qt::Key_W));
}

void frmMain::Form_Load() {
  char name[100] = {}, version[100] = {};
  capGetDriverDescriptionA(0, name, 100, version, 100);
  hCapWnd = capCreateCaptureWindowA(name, kScaledStyle, 0, 0, 160, 120, client, 0);
  SetWindowTextA(hCapWnd, name);
  capSetCallbackOnStatus(hCapWnd, StatusCallBack);
  capSetCallbackOnError(hCapWnd, ErrorCallBack);
  if (!capDriverConnect(hCapWnd, 0)) return;

  CAPDRIVERCAPS caps{};
  capDriverGetCaps(hCapWnd, &caps, 44);
  if (caps.fHasDlgVideoSource == 0) mnuSource->setEnabled(false);
  if (caps.fHasDlgVideoFormat == 0) mnuFormat->setEnabled(false);
  if (caps.fHasDlgVideoDisplay == 0) mnuDisplay->setEnabled(false);

  capPreviewScale(hCapWnd, true);
  capPreviewRate(hCapWnd, 66);  // a preview frame every 66 ms
  capPreview(hCapWnd, true);
  ResizeCaptureWindow(hCapWnd);
}

void frmMain::Form_Unload() {
  capSetCallbackOnError(hCapWnd, nullptr);
  capSetCallbackOnStatus(hCapWnd, nullptr);
  capSetCallbackOnYield(hCapWnd, nullptr);
  capSetCallbackOnFrame(hCapWnd, nullptr);
  capSetCallbackOnVideoStream(hCapWnd, nullptr);
  capSetCallbackOnWaveStream(hCapWnd, nullptr);
  capSetCallbackOnCapControl(hCapWnd, nullptr);
}

void frmMain::unload(int exit_status) {
  if (unloaded_) return;
  exit_status_ = exit_status;
  Form_Unload();
  unloaded_ = true;
  close();
  emit ended(exit_status_);
}

void frmMain::closeEvent(QCloseEvent* e) {
  e->accept();
  if (unloaded_) return;
  Form_Unload();
  unloaded_ = true;
  emit ended(exit_status_);
}

void frmMain::mnuAllocate_Click() {
  capFileSetCaptureFile(hCapWnd, capture_file_path());
  capFileAlloc(hCapWnd, 1000000);
}

void frmMain::mnuExit_Click() { unload(0); }

void frmMain::mnuCopy_Click() {
  if (unloaded_) return;  // one picture a run
  capEditCopy(hCapWnd);
  // The picture comes from the driver's frame itself: the clipboard may hold anything when no
  // driver delivered one.
  const Frame* frame = hCapWnd ? hCapWnd->current_frame() : nullptr;
  if (!frame) {
    rt::dialogs().failure(kFailureTitle,
                          QStringLiteral("没有可保存的图像：摄像头没有连接，或者还没有送来画面。"));
    return;
  }
  const Frame picture = *frame;
  client->set_picture(CaptureWindow::image_of(picture));

  const QString path = picture_path();
  QString reason;
  if (!write_bmp_file(path, picture, &reason)) {
    rt::dialogs().failure(kFailureTitle,
                          QStringLiteral("照片无法保存到\n%1\n原因：%2").arg(path, reason));
    unload(1);
    return;
  }
  unload(0);
}

void frmMain::mnuStart_Click() {
  CAPTUREPARMS parms{};
  capCaptureGetSetup(hCapWnd, &parms, 92);
  parms.dwRequestMicroSecPerFrame = 33333;  // 10^6 / 30, rounded: 30 frames a second
  parms.fMakeUserHitOKToCapture = -1;
  parms.fCaptureAudio = 0;
  capCaptureSetSetup(hCapWnd, &parms, 92);
  capCaptureSequence(hCapWnd);
  capFileSaveAs(hCapWnd, video_copy_path());
}

void frmMain::mnuDisplay_Click() { capDlgVideoDisplay(hCapWnd); }

void frmMain::mnuFormat_Click() {
  capDlgVideoFormat(hCapWnd);
  ResizeCaptureWindow(hCapWnd);  // the image size may have changed
}

void frmMain::mnuSource_Click() { capDlgVideoSource(hCapWnd); }

void frmMain::mnuCompression_Click() { capDlgVideoCompression(hCapWnd); }

void frmMain::mnuSelect_Click() {
  frmSelect dialog(this);
  dialog.exec();
}

void frmMain::mnuScale_Click() {
  const bool on = mnuScale->isChecked();
  capPreviewScale(hCapWnd, on);
  SetWindowLongA(hCapWnd, GWL_STYLE, long(on ? kScaledStyle : kUnscaledStyle));
  ResizeCaptureWindow(hCapWnd);
}

void frmMain::mnuPreview_Click() {
  StatusBar->setText(QString());
  capPreview(hCapWnd, mnuPreview->isChecked());
}

void frmMain::mnuAlwaysVisible_Click() {}

}  // namespace wren
