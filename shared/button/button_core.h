#pragma once
// The button without its window: its settings, its input state and the looks it draws. The
// window layer feeds it pointer, key and focus events (positions in layout units) and carries
// out what it asks of the platform through ButtonHost.
#include <QString>

#include "shared/button/button_looks.h"
#include "shared/button/button_parts.h"

namespace xpb {

class ButtonHost {
 public:
  virtual ~ButtonHost() = default;
  virtual void setcapture() = 0;
  virtual void releasecapture() = 0;
  // Gives the keyboard focus to the button; the toolkit then reports focus_in().
  virtual void take_focus() = 0;
  // Moves the keyboard focus to the next or previous control of the window's tab order.
  virtual void move_focus(bool next) = 0;
  // Blocks for ms milliseconds with the current look visible on the screen.
  virtual void sleepex(int ms) = 0;
  // A look has been set on parts(); repaint when convenient.
  virtual void drawn(Look look) = 0;
  // Some other property of parts() changed; repaint when convenient.
  virtual void changed() = 0;
  // Loads the picture for picture_name (a failure simply shows none).
  virtual void load_picture(const QString& name) = 0;
  // Runs the window's clicked handler; false when the button no longer exists afterwards.
  virtual bool raise_clicked() = 0;
};

struct InputFlags {
  bool ib_captured = false;
  bool ib_focus = false;
  bool ib_clicked = false;
  bool ib_drawing = false;
  bool ib_spacebar = false;
  bool ib_mousein = false;
};

class ButtonCore {
 public:
  explicit ButtonCore(ButtonHost& host);
  ButtonCore(const ButtonCore&) = delete;
  ButtonCore& operator=(const ButtonCore&) = delete;

  // The construction steps that follow the parent's background colour: colours, picture,
  // layout and the normal look. The caller then sets the caption and calls of_enabled.
  void constructor(long parent_backcolor);

  // Declared for the button's users and never read.
  QString buttontext;
  QString fontname;
  int fontsize = 0;

  QString picture_name;
  FaceColours colours;
  long backgndcolor = 0;

  void resize(int width, int height);  // the size in layout units; the layout is redone

  // Object functions.
  void of_addpicture(const QString& as_picturename);
  void of_backcolor(long al_backcolor);
  void of_enabled(bool ab_enabled);
  void of_setcolor();
  void of_showpic();
  void of_showln2(bool bl_show);
  void of_setposition();
  void of_drawnormal();
  void of_drawraised();
  void of_drawlowered();
  void of_drawdisabled();
  void of_drawenabled();
  void of_drawhover() {}
  // Whether the greyed picture is to be painted over the picture box now.
  bool of_drawdisabledpicture() const;

  // The button's own pointer handlers.
  void ue_mousedown(int xpos, int ypos);
  void ue_mousemove(int xpos, int ypos);
  void ue_mouseup(int xpos, int ypos);

  // The handlers of the focus-taking inner button.
  long cb_focus_ue_keydown(int key);
  void cb_focus_ue_keyup(int key);
  void cb_focus_clicked();
  void cb_focus_getfocus();
  void cb_focus_losefocus();

  // The inner button as the platform's push button: key and focus messages reach the handlers
  // above, then its own handling turns a space bar pressed and released on it into a click.
  // activate() is a click by mnemonic, by Enter as default button or by Esc as cancel button.
  long key_down(int key);
  void key_up(int key);
  void activate();
  void focus_in();
  void focus_out();

  // Runs the window's clicked handler at once. False when the button no longer exists.
  bool triggerevent_clicked();

  const ButtonParts& parts() const { return parts_; }
  const InputFlags& flags() const { return flags_; }
  bool enabled() const { return enabled_; }
  bool capture_held() const { return capture_held_; }
  bool in_clicked() const { return in_clicked_; }

 private:
  void draw_guarded(Look look);
  void of_drawfocusrect();
  void setcapture();
  void releasecapture();
  void raise_clicked();

  ButtonHost& host_;
  ButtonParts parts_;
  InputFlags flags_;
  bool enabled_ = true;
  bool capture_held_ = false;  // the platform's capture, as far as this button asked for it
  bool space_pushed_ = false;  // the inner push button saw the space bar go down
  bool in_clicked_ = false;    // the window's clicked handler is running
};

}  // namespace xpb
