#include "runtime/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "runtime/window_title.h"

namespace rt {
namespace {

QWidget* owner() { return QApplication::activeWindow(); }

QMessageBox::StandardButton show_box(QMessageBox::Icon icon, const QString& title,
                                     const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton default_button) {
  QMessageBox box(icon, QString(), text, buttons, owner());
  set_window_title(&box, title);
  box.setDefaultButton(default_button);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtDialogs::notice(const QString& title, const QString& text) {
  show_box(QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::failure(const QString& title, const QString& text) {
  show_box(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::question(const QString& title, const QString& text, bool default_yes) {
  return show_box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                  default_yes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

FileChoice QtDialogs::open_file(const QString& title, const QString& default_extension,
                                const QString& filter) {
  QFileDialog dialog(owner());
  set_window_title(&dialog, title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(default_extension);
  dialog.setNameFilters(qt_name_filters(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().first();
  return {1, path, QFileInfo(path).fileName()};
}

}  // namespace rt
