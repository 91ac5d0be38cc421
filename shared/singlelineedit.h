#pragma once
// The toolkit's single-line edit with the events and properties the windows use: getfocus,
// modified (the text was changed and the field is left or Enter is pressed), a selection that
// may stay visible without the focus, and input limited to the field's width when automatic
// horizontal scrolling is off.
#include <QLineEdit>

class singlelineedit : public QLineEdit {
  Q_OBJECT
 public:
  explicit singlelineedit(QWidget* parent);

  // The program's text is taken as it is, even when it is longer than the field can show.
  void setText(const QString& text);

  void set_hide_selection(bool hide) { hide_selection_ = hide; }
  void set_auto_hscroll(bool on);
  bool auto_hscroll() const { return auto_hscroll_; }
  // Whether `text` fits the visible width, as it would be drawn (masked in password fields).
  bool fits(const QString& text) const;
  const QString& last_accepted() const { return last_accepted_; }
  void accept_text(const QString& text) { last_accepted_ = text; }

 signals:
  void getfocus();
  void modified();

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void raise_modified_if_changed(bool queued);

  bool hide_selection_ = true;
  bool auto_hscroll_ = true;
  QString last_accepted_;  // the text before the edit under validation
  // The selection getfocus made when a mouse press gave the focus; that press clears it.
  int focus_selection_start_ = -1;
  int focus_selection_length_ = 0;
};
