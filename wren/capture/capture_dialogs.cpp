#include "wren/capture/capture_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <functional>

#include "wren/capture/device.h"
#include "wren/capture/pixel_converter.h"

namespace wren::capture {
namespace {

QString size_text(FrameSize s) { return QStringLiteral("%1 x %2").arg(s.width).arg(s.height); }

// A dialog with a form and OK / Cancel (or OK alone).
struct FormDialog {
  QDialog dialog;
  QFormLayout* form;
  explicit FormDialog(QWidget* parent, const QString& title, bool cancel = true) : dialog(parent) {
    dialog.setWindowTitle(title);
    auto* box = new QVBoxLayout(&dialog);
    form = new QFormLayout;
    box->addLayout(form);
    auto* buttons = new QDialogButtonBox(cancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                                : QDialogButtonBox::Ok);
    box->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  }
};

}  // namespace

bool run_format_dialog(Device& device, QWidget* parent, QString* error) {
  const std::vector<FormatChoice> formats = device.formats();
  if (formats.empty()) return true;
  FormDialog d(parent, QStringLiteral("Video Format"));
  auto* format = new QComboBox;
  format->setObjectName(QStringLiteral("cmboFormat"));
  auto* size = new QComboBox;
  size->setObjectName(QStringLiteral("cmboSize"));
  d.form->addRow(QStringLiteral("Pixel format:"), format);
  d.form->addRow(QStringLiteral("Frame size:"), size);
  for (const FormatChoice& f : formats)
    format->addItem(QStringLiteral("%1 (%2)").arg(f.description, fourcc_text(f.fourcc)));
  const FrameSize now = device.image_size();
  auto fill_sizes = [&](int i) {
    size->clear();
    if (i < 0) return;
    for (FrameSize s : formats[i].sizes) size->addItem(size_text(s));
    for (std::size_t k = 0; k < formats[i].sizes.size(); ++k)
      if (formats[i].sizes[k] == now) size->setCurrentIndex(int(k));
  };
  QObject::connect(format, &QComboBox::currentIndexChanged, &d.dialog, fill_sizes);
  int current = 0;
  for (std::size_t i = 0; i < formats.size(); ++i)
    if (formats[i].fourcc == device.pixel_format()) current = int(i);
  format->setCurrentIndex(current);
  fill_sizes(current);
  if (d.dialog.exec() != QDialog::Accepted) return true;
  const int f = format->currentIndex(), s = size->currentIndex();
  if (f < 0 || s < 0) return true;
  return device.set_format(formats[f].fourcc, formats[f].sizes[s], error);
}

bool run_source_dialog(Device& device, QWidget* parent, QString* error) {
  FormDialog d(parent, QStringLiteral("Video Source"));
  auto* input = new QComboBox;
  input->setObjectName(QStringLiteral("cmboInput"));
  for (const QString& name : device.inputs()) input->addItem(name);
  input->setCurrentIndex(device.input());
  d.form->addRow(QStringLiteral("Input:"), input);

  // One editor a picture control, read back on OK.
  const std::vector<Control> controls = device.controls();
  std::vector<std::function<int()>> values;
  for (const Control& c : controls) {
    QWidget* editor = nullptr;
    if (c.kind == Control::Boolean) {
      auto* box = new QCheckBox;
      box->setChecked(c.value != 0);
      values.push_back([box] { return box->isChecked() ? 1 : 0; });
      editor = box;
    } else if (c.kind == Control::Menu) {
      auto* box = new QComboBox;
      for (const auto& [v, text] : c.menu) {
        box->addItem(text, v);
        if (v == c.value) box->setCurrentIndex(box->count() - 1);
      }
      values.push_back(
          [box, c] { return box->currentIndex() < 0 ? c.value : box->currentData().toInt(); });
      editor = box;
    } else {
      auto* slider = new QSlider(Qt::Horizontal);
      slider->setRange(c.minimum, c.maximum);
      slider->setSingleStep(c.step);
      slider->setValue(c.value);
      values.push_back([slider] { return slider->value(); });
      editor = slider;
    }
    editor->setObjectName(QStringLiteral("control_%1").arg(c.id));
    d.form->addRow(c.name + QLatin1Char(':'), editor);
  }
  if (d.dialog.exec() != QDialog::Accepted) return true;
  bool ok = true;
  if (input->currentIndex() >= 0 && input->currentIndex() != device.input())
    ok = device.set_input(input->currentIndex(), error);
  for (std::size_t i = 0; i < controls.size() && ok; ++i) {
    const int v = values[i]();
    if (v != controls[i].value) ok = device.set_control(controls[i].id, v, error);
  }
  return ok;
}

void run_display_dialog(Device& device, QWidget* parent) {
  FormDialog d(parent, QStringLiteral("Video Display"), false);
  d.form->addRow(QStringLiteral("Picture:"), new QLabel(size_text(device.image_size())));
  d.form->addRow(QStringLiteral("Pixel format:"), new QLabel(fourcc_text(device.pixel_format())));
  d.dialog.exec();
}

void run_compression_dialog(QWidget* parent) {
  FormDialog d(parent, QStringLiteral("Video Compression"));
  auto* codec = new QComboBox;
  codec->setObjectName(QStringLiteral("cmboCompressor"));
  codec->addItem(QStringLiteral("Full Frames (Uncompressed)"));
  d.form->addRow(QStringLiteral("Compressor:"), codec);
  d.dialog.exec();
}

}  // namespace wren::capture
