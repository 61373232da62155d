#include "display/frame_layout.h"

#include "desktop/display_scale.h"

Frame_Layout Frame_Layout::Unzoomed_At(int scale, QPoint skin_offset) {
  Frame_Layout layout;
  layout.Scale = std::max(1, scale);
  layout.Skin = layout.Menu = Frame_Factor(layout.Scale, Unzoomed);
  layout.Skin_Offset = skin_offset;
  layout.Skin_Origin = skin_offset * layout.Scale;
  return layout;
}

Frame_Layout::Part Frame_Layout::Part_Of(Element_Id id) {
  if (id == im_backdrop || id == im_backdrop_logo) return Part::Desk;
  if (id == btn_game_menu_background || id == btn_game_menu_top ||
      (id >= la_menu_item_1 && id <= la_menu_item_12))
    return Part::Menu;
  return Part::Handheld;
}

Frame_Factor Frame_Layout::Factor_Of(Element_Id id) const {
  switch (Part_Of(id)) {
  case Part::Desk: return Frame_Factor(Scale, Unzoomed);
  case Part::Menu: return Menu;
  case Part::Handheld: break;
  }
  return Skin;
}

QRect Frame_Layout::Device_Rect(Element_Id id, const QRect& rect) const {
  switch (Part_Of(id)) {
  case Part::Desk: return ::Device_Rect(rect, Scale);
  case Part::Menu: return Menu.Device_Rect(rect);
  case Part::Handheld: break;
  }
  return Skin.Device_Rect(rect.translated(-Skin_Offset)).translated(Skin_Origin);
}

QPoint Frame_Layout::Skin_Point(Element_Id id, const QRect& rect) const {
  return Part_Of(id) == Part::Handheld ? rect.topLeft() - Skin_Offset : rect.topLeft();
}

QRegion Frame_Layout::Device_Region(const QRegion& region, const Lcd_Surface& surface) const {
  QRegion device;
  for (const QRect& r : region) {
    bool desk = false, handheld = false, menu = false;
    for (int i = 0; i < Element_Count; ++i) {
      const auto id = static_cast<Element_Id>(i);
      if (id == im_backdrop || !surface[id].Rect.intersects(r)) continue;
      const Part part = Part_Of(id);
      desk |= part == Part::Desk;
      handheld |= part == Part::Handheld;
      menu |= part == Part::Menu;
    }
    if (desk) device += Device_Rect(im_backdrop_logo, r);
    if (handheld) device += Device_Rect(im_background, r);
    if (menu) device += Device_Rect(btn_game_menu_top, r);
  }
  return device;
}

QPoint Frame_Layout::Element_Point(Element_Id id, QPoint device) const {
  switch (Part_Of(id)) {
  case Part::Desk: return {device.x() / Scale, device.y() / Scale};
  case Part::Menu: return Menu.Skin_Point(device);
  case Part::Handheld: break;
  }
  return Skin.Skin_Point(device - Skin_Origin) + Skin_Offset;
}
