#include "shared/button/button_core.h"

#include "shared/button/button_geometry.h"

namespace xpb {

namespace {
constexpr int vk_space = 32, vk_left = 37, vk_up = 38, vk_right = 39, vk_down = 40;
}

ButtonCore::ButtonCore(ButtonHost& host) : host_(host) {}

void ButtonCore::constructor(long parent_backcolor) {
  backgndcolor = parent_backcolor;
  of_setcolor();
  of_addpicture(picture_name);
  of_showpic();
  of_setposition();
  of_drawnormal();
}

void ButtonCore::resize(int width, int height) {
  parts_.width = width;
  parts_.height = height;
  of_setposition();
}

// ---- object functions

void ButtonCore::of_addpicture(const QString& as_picturename) {
  if (as_picturename.endsWith(u'!')) {
    picture_name = as_picturename;
    of_showpic();
  } else {
    picture_name.clear();  // a picture already shown stays until the next of_showpic
  }
}

void ButtonCore::of_backcolor(long al_backcolor) {
  parts_.backcolor = al_backcolor;
  parts_.plb_buttonbmp.backcolor = al_backcolor;
  host_.changed();
}

void ButtonCore::of_enabled(bool ab_enabled) {
  enabled_ = ab_enabled;
  if (!ab_enabled)
    of_drawdisabled();
  else
    of_drawenabled();
}

void ButtonCore::of_setcolor() { of_backcolor(backgndcolor); }

void ButtonCore::of_showpic() {
  BoxPart& box = parts_.plb_buttonbmp;
  if (picture_name.isEmpty()) {
    box.visible = false;
    host_.changed();
    return;
  }
  host_.load_picture(QString());
  box.backcolor = rgb(232, 232, 230);
  host_.load_picture(picture_name);
  box.visible = true;
  of_setposition();
}

void ButtonCore::of_showln2(bool bl_show) {
  for (Line l : {ln_top2, ln_left2, ln_bottom2, ln_right2}) parts_.line(l).visible = bl_show;
}

void ButtonCore::of_setposition() {
  xpb::of_setposition(parts_);
  host_.changed();
}

// ---- looks

void ButtonCore::draw_guarded(Look look) {
  if (flags_.ib_drawing) return;
  flags_.ib_drawing = true;
  apply_look(look, parts_, colours);
  of_drawfocusrect();
  host_.drawn(look);
  flags_.ib_drawing = false;
}

void ButtonCore::of_drawnormal() {
  draw_guarded(flags_.ib_focus ? Look::normal_focused : Look::normal);
}

void ButtonCore::of_drawraised() { draw_guarded(Look::hover); }

void ButtonCore::of_drawlowered() { draw_guarded(Look::pressed); }

void ButtonCore::of_drawdisabled() {
  apply_look(Look::disabled, parts_, colours);
  parts_.focus_rect_drawn = false;
  host_.drawn(Look::disabled);
}

void ButtonCore::of_drawenabled() { of_drawnormal(); }

bool ButtonCore::of_drawdisabledpicture() const { return !enabled_ && !picture_name.isEmpty(); }

void ButtonCore::of_drawfocusrect() { parts_.focus_rect_drawn = flags_.ib_focus; }

// ---- pointer

void ButtonCore::setcapture() {
  capture_held_ = true;
  host_.setcapture();
}

void ButtonCore::releasecapture() {
  capture_held_ = false;
  host_.releasecapture();
}

void ButtonCore::ue_mousedown(int, int) {
  flags_.ib_clicked = true;
  flags_.ib_captured = false;  // the capture itself stays
  if (!flags_.ib_focus) host_.take_focus();
  of_drawlowered();
}

void ButtonCore::ue_mousemove(int xpos, int ypos) {
  if (!flags_.ib_captured) {
    setcapture();
    flags_.ib_captured = true;
    flags_.ib_mousein = true;
    if (!flags_.ib_clicked) of_drawraised();
  } else if (!is_inside(xpos, ypos, parts_.width, parts_.height)) {
    if (!flags_.ib_clicked) {
      flags_.ib_captured = false;
      releasecapture();
    }
    if (flags_.ib_mousein) {
      of_drawnormal();
      flags_.ib_mousein = false;
    }
  } else if (!flags_.ib_mousein) {
    flags_.ib_mousein = true;
    if (flags_.ib_clicked)
      of_drawlowered();
    else
      of_drawnormal();
  }
}

void ButtonCore::ue_mouseup(int xpos, int ypos) {
  const bool lb_clicked = flags_.ib_clicked;
  flags_.ib_clicked = false;
  flags_.ib_captured = false;
  if (!is_inside(xpos, ypos, parts_.width, parts_.height)) {
    releasecapture();
    return;
  }
  of_drawraised();
  if (lb_clicked) raise_clicked();  // last: the handler may destroy the button
}

// ---- keyboard and focus

long ButtonCore::cb_focus_ue_keydown(int key) {
  // Focus moves directly, whatever modifier is held: synthesised Tab keystrokes would combine
  // with a held Alt into the window switcher.
  if (key == vk_up || key == vk_left) {
    host_.move_focus(false);
    return 1;
  }
  if (key == vk_down || key == vk_right) {
    host_.move_focus(true);
    return 1;
  }
  if (key == vk_space && !flags_.ib_spacebar) {
    of_drawlowered();
    flags_.ib_spacebar = true;
  }
  return 0;
}

void ButtonCore::cb_focus_ue_keyup(int key) {
  if (key != vk_space) return;
  flags_.ib_spacebar = true;
  of_drawnormal();
}

void ButtonCore::cb_focus_clicked() {
  if (flags_.ib_spacebar) {
    flags_.ib_spacebar = false;  // the space bar already showed the press
  } else {
    of_drawlowered();
    host_.sleepex(50);
    of_drawnormal();
  }
  flags_.ib_clicked = false;
  raise_clicked();
}

void ButtonCore::cb_focus_getfocus() {
  flags_.ib_focus = true;
  of_drawnormal();
}

void ButtonCore::cb_focus_losefocus() {
  flags_.ib_focus = false;
  of_drawnormal();
}

long ButtonCore::key_down(int key) {
  const long result = cb_focus_ue_keydown(key);
  if (key == vk_space) space_pushed_ = true;
  return result;
}

void ButtonCore::key_up(int key) {
  cb_focus_ue_keyup(key);
  if (key == vk_space && space_pushed_) {
    space_pushed_ = false;
    cb_focus_clicked();
  }
}

void ButtonCore::activate() { cb_focus_clicked(); }

void ButtonCore::focus_in() { cb_focus_getfocus(); }

void ButtonCore::focus_out() {
  space_pushed_ = false;
  cb_focus_losefocus();
}

// ---- clicked

void ButtonCore::raise_clicked() {
  // A handler that yields lets the button's input run again; that input raises no second
  // clicked while the first is running.
  if (in_clicked_) return;
  in_clicked_ = true;
  if (!host_.raise_clicked()) return;  // the button is gone: touch nothing
  in_clicked_ = false;
}

bool ButtonCore::triggerevent_clicked() {
  const bool was_running = in_clicked_;
  in_clicked_ = true;
  if (!host_.raise_clicked()) return false;
  in_clicked_ = was_running;
  return true;
}

}  // namespace xpb
