#include "shared/singlelineedit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QValidator>

namespace {

// Refuses an edit that makes the text longer than the field can show. A longer text put in by
// the program can still be shortened.
class fit_validator final : public QValidator {
 public:
  explicit fit_validator(singlelineedit* edit) : QValidator(edit), edit_(edit) {}
  State validate(QString& input, int&) const override {
    if (!edit_->fits(input) && input.size() > edit_->last_accepted().size()) return Invalid;
    edit_->accept_text(input);
    return Acceptable;
  }

 private:
  singlelineedit* edit_;
};

}  // namespace

singlelineedit::singlelineedit(QWidget* parent) : QLineEdit(parent) {}

void singlelineedit::set_auto_hscroll(bool on) {
  auto_hscroll_ = on;
  setValidator(on ? nullptr : new fit_validator(this));
}

void singlelineedit::setText(const QString& text) {
  last_accepted_ = text;
  QLineEdit::setText(text);
}

bool singlelineedit::fits(const QString& text) const {
  QStyleOptionFrame opt;
  initStyleOption(&opt);
  const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this);
  const QMargins m = textMargins();
  const int room = r.width() - m.left() - m.right() - 4;  // QLineEdit keeps 2 px each side
  const QString shown =
      echoMode() == QLineEdit::Password
          ? QString(text.size(),
                    QChar(style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &opt, this)))
          : text;
  return fontMetrics().horizontalAdvance(shown) <= room;
}

void singlelineedit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  emit getfocus();
  focus_selection_start_ = e->reason() == Qt::MouseFocusReason ? selectionStart() : -1;
  focus_selection_length_ = selectedText().size();
}

void singlelineedit::mouseReleaseEvent(QMouseEvent* e) {
  QLineEdit::mouseReleaseEvent(e);
  // A click that gave the focus leaves the selection getfocus made; a drag keeps its own.
  if (focus_selection_start_ >= 0 && e->button() == Qt::LeftButton && !hasSelectedText())
    setSelection(focus_selection_start_, focus_selection_length_);
  focus_selection_start_ = -1;
}

void singlelineedit::focusOutEvent(QFocusEvent* e) {
  const int start = selectionStart();
  const int length = selectedText().size();
  QLineEdit::focusOutEvent(e);
  if (!hide_selection_ && start >= 0) setSelection(start, length);
  // Queued: a handler that moves the focus must not run inside the focus change under way.
  raise_modified_if_changed(true);
}

void singlelineedit::keyPressEvent(QKeyEvent* e) {
  QLineEdit::keyPressEvent(e);
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) raise_modified_if_changed(false);
}

void singlelineedit::raise_modified_if_changed(bool queued) {
  if (!isModified()) return;
  setModified(false);
  if (queued)
    QTimer::singleShot(0, this, [this] { emit modified(); });
  else
    emit modified();
}
