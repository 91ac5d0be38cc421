#pragma once
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace wren {

// Chooses the capture driver the capture window is connected to. Built anew for each showing.
class frmSelect final : public QDialog {
  Q_OBJECT
 public:
  explicit frmSelect(QWidget* owner);  // runs Form_Load

  void Form_Load();
  void cmdSelect_Click();
  void cmdCancel_Click();

  QLabel* lblDriver;
  QComboBox* cmboSource;
  QPushButton* cmdSelect;
  QPushButton* cmdCancel;
};

}  // namespace wren
