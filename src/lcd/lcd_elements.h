// The fixed set of picture and text elements of the main window, in stacking order, and the
// tables that let the game address them by number.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Every element of the main window. The order of this enumeration is the stacking order,
// bottom to top: later elements are drawn over earlier ones and receive the pointer first.
enum Element_Id : int {
  im_backdrop,
  im_backdrop_logo,
  im_background,
  im_pit,
  btn_cursor_down,
  btn_attack_down,
  btn_acl_down,
  btn_move_down,
  im_bat_1,
  im_bat_2,
  im_bat_3,
  im_bat_4,
  im_bat_5,
  im_warrior_0,
  im_arrow_0,
  im_warrior_1,
  im_arrow_1,
  im_warrior_2,
  im_arrow_2,
  im_warrior_3,
  im_arrow_3,
  im_warrior_4,
  im_warrior_6,
  im_arrow_4,
  im_warrior_5,
  im_arrow_5,
  im_warrior_7,
  im_maze,
  im_cursor_up,
  im_cursor_left,
  im_cursor_right,
  im_cursor_down,
  im_hook,
  im_dragon,
  im_arrow_6,
  im_icon_arrow,
  im_icon_hook,
  im_panel_digit_pos_1,
  im_panel_digit_pos_2,
  im_panel_number_1_0,
  im_panel_number_1_1,
  im_panel_number_1_2,
  im_panel_number_1_3,
  im_panel_number_1_4,
  im_panel_number_1_5,
  im_panel_number_1_6,
  im_panel_number_1_7,
  im_panel_number_1_8,
  im_panel_number_1_9,
  im_panel_number_1_a,
  im_panel_number_1_b,
  im_panel_number_1_c,
  im_panel_number_1_d,
  im_panel_number_1_e,
  im_panel_number_1_f,
  im_panel_number_1_h,
  im_panel_number_1_j,
  im_panel_number_1_l,
  im_panel_number_2_0,
  im_panel_number_2_1,
  im_panel_number_2_2,
  im_panel_number_2_3,
  im_panel_number_2_4,
  im_panel_number_2_5,
  im_panel_number_2_6,
  im_panel_number_2_7,
  im_panel_number_2_8,
  im_panel_number_2_9,
  la_cheat_0,
  la_cheat_1,
  la_cheat_2,
  la_cheat_3,
  la_cheat_4,
  la_cheat_5,
  la_cheat_6,
  la_cheat_7,
  la_cheat_8,
  la_cheat_9,
  btn_cursor_top,
  btn_attack_top,
  btn_move_top,
  btn_acl_top,
  im_background_screen_top,
  btn_game_menu_background,
  btn_game_menu_top,
  // The rows of the in-game menu; they exist (are shown) only while the menu is open.
  la_menu_item_1,
  la_menu_item_2,
  la_menu_item_3,
  la_menu_item_4,
  la_menu_item_5,
  la_menu_item_6,
  la_menu_item_7,
  la_menu_item_8,
  la_menu_item_9,
  la_menu_item_10,
  la_menu_item_11,
  la_menu_item_12,
  Element_Count
};

enum class Element_Kind : std::uint8_t { Picture, Text };

// The segments of the liquid crystal: from the pit to the number panel's glyphs, the pictures of
// the buttons held down aside.
constexpr bool Is_Liquid_Crystal(Element_Id id) {
  return id >= im_pit && id <= im_panel_number_2_9 && (id < btn_cursor_down || id > btn_move_down);
}

// One row of the element table: what an element is when the main window is created.
struct Element_Info {
  Element_Id Id;
  std::string_view Name;
  int Left, Top, Width, Height;
  bool Transparent;
  bool Shown_At_Start;
  Element_Kind Kind = Element_Kind::Picture;
};

// All elements, indexed by Element_Id, with their built-in layout (for the default client area,
// the background's size) and their flags at creation.
extern const std::array<Element_Info, Element_Count> Element_Table;

// An element's rectangle in the built-in layout.
QRect Built_In_Rect(Element_Id id);
// The window's client area when the skin names none: the background's built-in size.
QSize Default_Client_Size();
// The in-game menu's panel while the menu is closed: as large as the menu button, so that only
// the menu symbol shows.
QSize Closed_Game_Menu_Size();

// The 71 elements that the skin configures; entry N-1 is configured by section ImageN.
inline constexpr int Skin_Element_Count = 71;
extern const std::array<Element_Id, Skin_Element_Count> Skin_Elements;

std::string_view Element_Name(Element_Id id);

// Tables through which the game addresses elements by number.
inline constexpr std::array<Element_Id, 5> Bat_Images = {im_bat_1, im_bat_2, im_bat_3, im_bat_4,
                                                         im_bat_5};
inline constexpr std::array<Element_Id, 8> Warrior_Images = {
    im_warrior_0, im_warrior_1, im_warrior_2, im_warrior_3,
    im_warrior_4, im_warrior_5, im_warrior_6, im_warrior_7};
inline constexpr std::array<Element_Id, 7> Arrow_Images = {
    im_arrow_0, im_arrow_1, im_arrow_2, im_arrow_3, im_arrow_4, im_arrow_5, im_arrow_6};
// The cursor's four directions, clockwise from up; none before the first game.
enum Direction : std::int32_t {
  No_Direction = 0,
  Direction_Up = 1,
  Direction_Right = 2,
  Direction_Down = 3,
  Direction_Left = 4,
};
inline constexpr std::array<Direction, 4> Directions = {Direction_Up, Direction_Right,
                                                        Direction_Down, Direction_Left};
constexpr Direction Clockwise(Direction from) {
  return static_cast<Direction>(from % 4 + 1);
}
// Indexed by Direction; index 0 is unused.
inline constexpr std::array<Element_Id, 5> Cursor_Images = {
    im_cursor_up, im_cursor_up, im_cursor_right, im_cursor_down, im_cursor_left};
inline constexpr std::array<Element_Id, 2> Panel_Positions = {im_panel_digit_pos_1,
                                                              im_panel_digit_pos_2};
inline constexpr std::array<Element_Id, 10> Panel_1_Digits = {
    im_panel_number_1_0, im_panel_number_1_1, im_panel_number_1_2, im_panel_number_1_3,
    im_panel_number_1_4, im_panel_number_1_5, im_panel_number_1_6, im_panel_number_1_7,
    im_panel_number_1_8, im_panel_number_1_9};
inline constexpr std::array<Element_Id, 10> Panel_2_Digits = {
    im_panel_number_2_0, im_panel_number_2_1, im_panel_number_2_2, im_panel_number_2_3,
    im_panel_number_2_4, im_panel_number_2_5, im_panel_number_2_6, im_panel_number_2_7,
    im_panel_number_2_8, im_panel_number_2_9};
// Row letters A..J, then the level letter L. The panel has no G or I glyph: they borrow 6 and 1.
inline constexpr std::array<Element_Id, 11> Panel_1_Letters = {
    im_panel_number_1_a, im_panel_number_1_b, im_panel_number_1_c, im_panel_number_1_d,
    im_panel_number_1_e, im_panel_number_1_f, im_panel_number_1_6, im_panel_number_1_h,
    im_panel_number_1_1, im_panel_number_1_j, im_panel_number_1_l};
inline constexpr std::array<Element_Id, 10> Cheat_Labels = {
    la_cheat_0, la_cheat_1, la_cheat_2, la_cheat_3, la_cheat_4,
    la_cheat_5, la_cheat_6, la_cheat_7, la_cheat_8, la_cheat_9};
inline constexpr std::array<Element_Id, 12> Game_Menu_Labels = {
    la_menu_item_1, la_menu_item_2,  la_menu_item_3,  la_menu_item_4,
    la_menu_item_5, la_menu_item_6,  la_menu_item_7,  la_menu_item_8,
    la_menu_item_9, la_menu_item_10, la_menu_item_11, la_menu_item_12};

// The character a glyph element shows ('A', '7', ...), or '?' for an element that is no glyph.
char Glyph_Char(Element_Id glyph);
