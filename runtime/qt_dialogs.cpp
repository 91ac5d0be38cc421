#include "runtime/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace rt {
namespace {

QWidget* owner() { return QApplication::activeWindow(); }

}  // namespace

void QtDialogs::notice(const QString& title, const QString& text) {
  QMessageBox::information(owner(), title, text);
}

void QtDialogs::failure(const QString& title, const QString& text) {
  QMessageBox::critical(owner(), title, text);
}

bool QtDialogs::question(const QString& title, const QString& text, bool default_yes) {
  return QMessageBox::question(owner(), title, text, QMessageBox::Yes | QMessageBox::No,
                               default_yes ? QMessageBox::Yes : QMessageBox::No) ==
         QMessageBox::Yes;
}

FileChoice QtDialogs::open_file(const QString& title, const QString& default_extension,
                                const QString& filter) {
  QFileDialog dialog(owner(), title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(default_extension);
  dialog.setNameFilters(qt_name_filters(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().first();
  return {1, path, QFileInfo(path).fileName()};
}

}  // namespace rt
