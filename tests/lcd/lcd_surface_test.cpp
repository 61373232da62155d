#include "lcd/lcd_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace {

QImage Filled(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

std::vector<Element_Id> Lcd_Segments() {
  std::vector<Element_Id> s(Bat_Images.begin(), Bat_Images.end());
  s.insert(s.end(), Warrior_Images.begin(), Warrior_Images.end());
  s.insert(s.end(), Arrow_Images.begin(), Arrow_Images.end());
  s.insert(s.end(), {im_cursor_up, im_cursor_right, im_cursor_down, im_cursor_left, im_pit, im_maze,
                     im_hook, im_icon_arrow, im_icon_hook, im_dragon});
  return s;
}

TEST(ElementTable, IsIndexedByIdAndNumbersTheSkinElements) {
  for (int i = 0; i < Element_Count; ++i)
    EXPECT_EQ(Element_Table[static_cast<std::size_t>(i)].Id, i);
  EXPECT_EQ(Skin_Elements[0], im_background);
  EXPECT_EQ(Skin_Elements[10], im_panel_digit_pos_1);
  EXPECT_EQ(Skin_Elements[70], im_icon_hook);
  std::set<Element_Id> distinct(Skin_Elements.begin(), Skin_Elements.end());
  EXPECT_EQ(distinct.size(), 71u);
}

// The whole built-in layout in one number: every element's rectangle and flags in stacking order,
// then the skin numbering. The number was computed from the layout tables of the handheld's
// design, not from this code; on a mismatch the lines are printed for comparison with them.
TEST(ElementTable, HoldsTheDesignedLayoutOrderAndNumbering) {
  std::string lines;
  for (const Element_Info& e : Element_Table)
    lines += std::string(e.Name) + ' ' + std::to_string(e.Left) + ' ' + std::to_string(e.Top) +
             ' ' + std::to_string(e.Width) + ' ' + std::to_string(e.Height) + ' ' +
             std::to_string(e.Transparent) + ' ' + std::to_string(e.Shown_At_Start) +
             (e.Kind == Element_Kind::Text ? " text\n" : " picture\n");
  for (int n = 1; n <= Skin_Element_Count; ++n)
    lines += "Image" + std::to_string(n) + " " +
             std::string(Element_Name(Skin_Elements[static_cast<std::size_t>(n - 1)])) + "\n";
  std::uint64_t digest = 14695981039346656037u; // FNV-1a
  for (const char c : lines)
    digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
  EXPECT_EQ(digest, 0x41e06832345acf98u) << lines;

  // The digest cannot say which entry is wrong; these name the breaks a skin author sees first.
  const auto rect = [](Element_Id id) {
    const Element_Info& e = Element_Table[static_cast<std::size_t>(id)];
    return QRect(e.Left, e.Top, e.Width, e.Height);
  };
  for (const auto& [pressed, click_area] : {std::pair{btn_cursor_down, btn_cursor_top},
                                            {btn_attack_down, btn_attack_top},
                                            {btn_acl_down, btn_acl_top},
                                            {btn_move_down, btn_move_top}}) {
    EXPECT_EQ(rect(pressed), rect(click_area)) << Element_Name(pressed);
    EXPECT_LT(pressed, click_area);
  }
  for (int d = 0; d < 10; ++d) {
    EXPECT_EQ(rect(Panel_1_Digits[static_cast<std::size_t>(d)]).size(),
              rect(im_panel_digit_pos_1).size());
    EXPECT_EQ(rect(Panel_2_Digits[static_cast<std::size_t>(d)]).size(),
              rect(im_panel_digit_pos_2).size());
  }
  for (Element_Id id : Skin_Elements)
    EXPECT_TRUE(rect(im_background).contains(rect(id))) << Element_Name(id);
}

TEST(ElementTables, LettersBorrowSixAndOneAndCursorsRunClockwise) {
  EXPECT_EQ(Element_Name(Panel_1_Letters[6]), "im_panel_number_1_6");
  EXPECT_EQ(Element_Name(Panel_1_Letters[8]), "im_panel_number_1_1");
  EXPECT_EQ(Element_Name(Panel_1_Letters[10]), "im_panel_number_1_l");
  EXPECT_EQ(Element_Name(Panel_1_Letters[0]), "im_panel_number_1_a");
  EXPECT_EQ(Element_Name(Panel_1_Letters[9]), "im_panel_number_1_j");
  EXPECT_EQ(Cursor_Images[1], im_cursor_up);
  EXPECT_EQ(Cursor_Images[2], im_cursor_right);
  EXPECT_EQ(Cursor_Images[3], im_cursor_down);
  EXPECT_EQ(Cursor_Images[4], im_cursor_left);
  for (int d = 0; d < 10; ++d) {
    EXPECT_EQ(Glyph_Char(Panel_1_Digits[static_cast<std::size_t>(d)]), '0' + d);
    EXPECT_EQ(Glyph_Char(Panel_2_Digits[static_cast<std::size_t>(d)]), '0' + d);
  }
}

TEST(LcdSurface, ShowAllLightsEverySegmentAndReads88) {
  Lcd_Surface s;
  s.Set_Picture(im_panel_number_1_8, Filled(24, 35, qRgb(0, 0, 0)));
  s.Vid_Show_All(true);
  for (Element_Id id : Lcd_Segments())
    EXPECT_TRUE(s.Shown(id)) << Element_Name(id);
  EXPECT_EQ(s.Panel_Text(), "88");
  EXPECT_TRUE(s.Shown(im_panel_digit_pos_1));
  EXPECT_EQ(s[im_panel_digit_pos_1].Picture, s[im_panel_number_1_8].Picture);
  for (Element_Id glyph : Panel_1_Digits)
    EXPECT_FALSE(s.Shown(glyph));
}

TEST(LcdSurface, ShowAllFalseBlanksThePanelButKeepsPositionsAndPressedButtons) {
  Lcd_Surface s;
  s.Vid_Show_All(true);
  s.Show(btn_move_down);
  s.Vid_Show_All(false);
  for (Element_Id id : Lcd_Segments())
    EXPECT_FALSE(s.Shown(id)) << Element_Name(id);
  EXPECT_EQ(s.Panel_Text(), "  ");
  EXPECT_TRUE(s.Shown(im_panel_digit_pos_1));
  EXPECT_TRUE(s.Shown(im_panel_digit_pos_2));
  EXPECT_TRUE(s[im_panel_digit_pos_2].Picture.isNull());
  EXPECT_TRUE(s.Shown(btn_move_down));
  EXPECT_TRUE(s.Shown(im_background));
  EXPECT_TRUE(s.Shown(im_background_screen_top));
}

TEST(LcdSurface, ShowCursorAddressesTheClockwiseTable) {
  Lcd_Surface s;
  s.Vid_Show_Cursor(Direction_Right, true);
  EXPECT_TRUE(s.Shown(im_cursor_right));
  EXPECT_FALSE(s.Shown(im_cursor_left));
}

TEST(LcdSurface, APositionKeepsItsCopyWhenTheGlyphIsReloaded) {
  Lcd_Surface s;
  s.Set_Picture(im_panel_number_2_7, Filled(24, 36, qRgb(1, 2, 3)));
  s.Show_Glyph(1, Panel_2_Digits[7]);
  s.Set_Picture(im_panel_number_2_7, Filled(24, 36, qRgb(9, 9, 9)));
  EXPECT_EQ(s[im_panel_digit_pos_2].Picture.pixel(0, 0), qRgb(1, 2, 3));
  s.Show_Glyph(1, Panel_2_Digits[7]);
  EXPECT_EQ(s[im_panel_digit_pos_2].Picture.pixel(0, 0), qRgb(9, 9, 9));
}

TEST(LcdSurface, PointerGoesToTheTopmostShownElement) {
  Lcd_Surface s;
  // The move button's click area lies over the background and its own pressed picture.
  EXPECT_EQ(s.Hit_Test({330, 280}), btn_move_top);
  s.Hide(btn_move_top);
  s.Show(btn_move_down);
  EXPECT_EQ(s.Hit_Test({330, 280}), btn_move_down);
  s.Hide(btn_move_down);
  EXPECT_EQ(s.Hit_Test({330, 280}), im_background);
  // A lit segment outside the screen overlay takes the pointer from the background, whatever
  // its transparency; once hidden it takes nothing.
  EXPECT_EQ(s.Hit_Test({290, 150}), im_background); // outside the overlay (70..279)
  s.Set_Rect(im_dragon, QRect(285, 140, 34, 38));
  s.Show(im_dragon);
  EXPECT_EQ(s.Hit_Test({290, 150}), im_dragon);
  s.Hide(im_dragon);
  EXPECT_EQ(s.Hit_Test({290, 150}), im_background);
  // Inside the overlay the overlay wins over any segment beneath it.
  s.Show(im_pit);
  EXPECT_EQ(s.Hit_Test({210, 150}), im_background_screen_top);
  EXPECT_FALSE(s.Hit_Test({600, 10}).has_value());
}

TEST(LcdSurface, ReportsTheRectanglesThatChanged) {
  Lcd_Surface s;
  s.Take_Dirty();
  s.Show(im_pit);
  s.Show(im_pit); // no change, nothing more to repaint
  EXPECT_EQ(s.Take_Dirty(), QRegion(200, 137, 50, 47));
  EXPECT_TRUE(s.Take_Dirty().isEmpty());
  s.Set_Rect(im_hook, QRect(0, 0, 5, 5));
  EXPECT_EQ(s.Take_Dirty(), QRegion(230, 125, 17, 46) + QRegion(0, 0, 5, 5));
}

TEST(LcdSurface, AnnouncesOnlyTheFirstChangeAfterARepaint) {
  Lcd_Surface s;
  s.Take_Dirty();
  int announced = 0;
  s.On_Dirty = [&] { ++announced; };
  s.Show(im_pit);
  s.Show(im_maze);
  EXPECT_EQ(announced, 1);
  s.Take_Dirty();
  s.Hide(im_pit);
  EXPECT_EQ(announced, 2);
}

TEST(LcdSurface, ObserversSeeShownAndPanelChanges) {
  Lcd_Surface s;
  std::vector<std::string> log;
  s.On_Shown_Changed = [&](Element_Id id, bool shown) {
    log.push_back(std::string(shown ? "show " : "hide ") + std::string(Element_Name(id)));
  };
  s.On_Panel_Changed = [&] { log.push_back("panel " + s.Panel_Text().toStdString()); };
  s.Show(im_maze);
  s.Show_Glyph(0, Panel_1_Letters[2]);
  s.Show_Glyph(0, Panel_1_Letters[2]);
  s.Hide(im_maze);
  EXPECT_EQ(log, (std::vector<std::string>{"show im_maze", "panel C ", "hide im_maze"}));
}

} // namespace
