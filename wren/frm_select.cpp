#include "wren/frm_select.h"

#include "runtime/codepage.h"
#include "wren/capture/avicap.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace wren {

using namespace capture;

namespace {

// Twips to pixels at 96 dots an inch.
QRect twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

}  // namespace

frmSelect::frmSelect(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmSelect"));
  setWindowTitle(QStringLiteral("Video Source"));
  setFixedSize(4155 / 15, 1080 / 15);
  lblDriver = new QLabel(QStringLiteral("Installed Drivers:"), this);
  lblDriver->setGeometry(twips(120, 120, 4095, 255));
  cmboSource = new QComboBox(this);  // a list to choose from, not to type in
  cmboSource->setObjectName(QStringLiteral("cmboSource"));
  cmboSource->setGeometry(twips(120, 360, 3975, 315));
  cmdSelect = new QPushButton(QStringLiteral("Select"), this);
  cmdSelect->setGeometry(twips(2160, 720, 900, 300));
  cmdSelect->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setGeometry(twips(3120, 720, 900, 300));
  connect(cmdSelect, &QPushButton::clicked, this, &frmSelect::cmdSelect_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmSelect::cmdCancel_Click);
  Form_Load();
}

void frmSelect::Form_Load() {
  for (int index = 0;; ++index) {
    char name[100] = {}, version[100] = {};
    if (!capGetDriverDescriptionA(index, name, 100, version, 100)) break;
    cmboSource->addItem(rt::from_cp936(QByteArray(name)));
  }
  cmboSource->setCurrentIndex(-1);
  CAPDRIVERCAPS caps{};
  if (capDriverGetCaps(hCapWnd, &caps, 44) && int(caps.wDeviceIndex) < cmboSource->count())
    cmboSource->setCurrentIndex(int(caps.wDeviceIndex));
}

void frmSelect::cmdSelect_Click() {
  const int chosen = cmboSource->currentIndex();
  if (chosen != -1 && capDriverConnect(hCapWnd, chosen)) {
    CAPDRIVERCAPS caps{};
    capDriverGetCaps(hCapWnd, &caps, 44);
    if (frmMain* f = frmMain::instance()) {
      f->mnuSource->setEnabled(caps.fHasDlgVideoSource != 0);
      f->mnuFormat->setEnabled(caps.fHasDlgVideoFormat != 0);
      f->mnuDisplay->setEnabled(caps.fHasDlgVideoDisplay != 0);
    }
    SetWindowTextA(hCapWnd, rt::to_cp936(cmboSource->itemText(chosen)).constData());
    ResizeCaptureWindow(hCapWnd);
  }
  done(QDialog::Accepted);
}

void frmSelect::cmdCancel_Click() { done(QDialog::Rejected); }

}  // namespace wren
