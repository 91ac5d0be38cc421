#pragma once
#include <QImage>
#include <QLabel>
#include <QMainWindow>

class QAction;
class QMenu;

namespace wren {

// The status bar: one text across its whole width.
class StatusBarControl final : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString text READ text NOTIFY textChanged)

 public:
  explicit StatusBarControl(QWidget* parent);
  QString text() const { return label_->text(); }
  const QLabel* label() const { return label_; }
  void setText(const QString& text) {
    label_->setText(text);
    emit textChanged(text);
  }

 signals:
  void textChanged(const QString& text);

 private:
  QLabel* label_;
};

// The client area: the workspace colour, and the form's picture in its top left corner.
class Workspace final : public QWidget {
  Q_OBJECT
 public:
  explicit Workspace(QWidget* parent);
  void set_picture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage picture_;
};

// The camera window: the live picture of a capture driver, and a snapshot saved where the
// settings say, after which the program ends.
class frmMain final : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);  // runs Form_Load
  ~frmMain() override;

  // The live form, for the callbacks and the selection dialog; null when there is none.
  static frmMain* instance();

  void Form_Load();
  void Form_Unload();

  void mnuAllocate_Click();
  void mnuExit_Click();
  void mnuCopy_Click();
  void mnuStart_Click();
  void mnuDisplay_Click();
  void mnuFormat_Click();
  void mnuSource_Click();
  void mnuCompression_Click();
  void mnuSelect_Click();
  void mnuScale_Click();
  void mnuPreview_Click();
  void mnuAlwaysVisible_Click();

  // Unloaded: Form_Unload has run and the form is closed; the program ends with this status.
  bool unloaded() const { return unloaded_; }
  int exit_status() const { return exit_status_; }

  Workspace* client;
  StatusBarControl* StatusBar;
  QMenu* mnuFile;
  QAction* mnuAllocate;
  QAction* mnuExit;
  QMenu* mnuEdit;
  QAction* mnuCopy;
  QMenu* mnuControl;
  QAction* mnuStart;
  QAction* mnuDisplay;
  QAction* mnuFormat;
  QAction* mnuSource;
  QAction* mnuCompression;
  QAction* mnuLine1;
  QAction* mnuSelect;
  QAction* mnuScale;
  QAction* mnuPreview;
  QAction* mnuLine2;
  QAction* mnuAlwaysVisible;

 signals:
  void ended(int exit_status);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void unload(int exit_status);
  void build_menus();

  bool unloaded_ = false;
  int exit_status_ = 0;
};

// Where the fixed capture files live on this system.
QString capture_file_path();  // TEMP.AVI in the temporary folder
QString video_copy_path();    // myvideo.avi beside it

}  // namespace wren
