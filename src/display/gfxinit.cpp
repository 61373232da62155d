#include "display/gfxinit.h"

#include "assets/config_ini.h"
#include "assets/picture_scale.h"
#include "desktop/side_by_side.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

// Keeps sizes and positions from a hand-edited file within what rectangles can hold.
constexpr long long Max_Coordinate = 1 << 24;

int Clamp_Position(long long value) {
  return static_cast<int>(std::clamp(value, -Max_Coordinate, Max_Coordinate));
}

int Clamp_Size(long long value) {
  return static_cast<int>(std::clamp(value, 0LL, Max_Coordinate));
}

// "Center", 0 and any text that is no integer centre the game area.
int Game_Offset(const QString& text, int screen, int client) {
  const int offset = Config_Ini::To_Integer(text).value_or(0);
  if (offset != 0) return Clamp_Position(offset);
  return (screen - client) / 2;
}

// The memory a picture takes once enlarged for the scale.
qsizetype Bytes_At_Scale(const QImage& picture, int scale) {
  const auto factor = static_cast<qsizetype>(Missing_Factor(picture, scale));
  return picture.sizeInBytes() * factor * factor;
}

// The memory a picture takes made ready for a factor.
qsizetype Bytes_At_Factor(const QImage& picture, Frame_Factor factor) {
  const QSize size = factor.Device_Size(Logical_Size(picture));
  return qsizetype(size.width()) * size.height() * 4;
}

// A desk as large as the screen: an opaque one is held in three bytes a pixel, not four. It is
// converted where it lies, so the two forms never take memory together.
QImage Compact_Desk(QImage picture) {
  if (!picture.hasAlphaChannel() && picture.depth() == 32) picture.convertTo(QImage::Format_RGB888);
  return picture;
}

// The part of a picture centred on a screen that the screen shows, as the painter centres it
// (in logical pixels, rounding toward zero).
Picture_Part Centred_On(QSize screen) {
  return [screen](QSize file_size, int file_scale) {
    const QSize logical = file_size / file_scale;
    const auto shown = [](int picture, int space) {
      return picture <= space ? std::pair{0, picture} : std::pair{-((space - picture) / 2), space};
    };
    const auto [left, width] = shown(logical.width(), screen.width());
    const auto [top, height] = shown(logical.height(), screen.height());
    return QRect(left, top, width, height).isEmpty()
               ? QRect()
               : QRect(left * file_scale, top * file_scale, width * file_scale,
                       height * file_scale);
  };
}

// The pictures a skin names, decoded side by side before the loader goes through them in its
// own order. The loader takes each as it would have decoded it then, the decoder's messages told
// at that moment. Pictures that would take the decoded ones past the skin's memory allowance are
// left to be decoded in turn.
class Decoded_Ahead {
public:
  struct Wanted {
    QString Path;
    Picture_Part Part; // unset: the whole picture
    Frame_Factor Factor;
  };

  Decoded_Ahead(std::vector<Wanted> wanted, qsizetype allowance) {
    qsizetype bytes = 0;
    for (Wanted& w : wanted) {
      if (std::any_of(Entries.begin(), Entries.end(), [&](const Entry& e) { return Is(e, w); }))
        continue;
      // The header tells the size; a file it cannot tell of fails quickly.
      const Scaled_File file = Picture_File_For_Factor(w.Path, w.Factor);
      QSize size = QImageReader(file.Path).size();
      if (w.Part && size.isValid()) size = w.Part(size, file.File_Scale).size();
      const qsizetype factor = std::max(1, w.Factor.Ceiling() / file.File_Scale);
      bytes += size.isValid() ? qsizetype(size.width()) * size.height() * 4 * factor * factor : 0;
      if (bytes > allowance) break;
      Entries.push_back({std::move(w.Path), std::move(w.Part), w.Factor, {}, {}, false});
    }
    Run_Side_By_Side(static_cast<int>(Entries.size()), [this](int i) {
      Entry& e = Entries[static_cast<std::size_t>(i)];
      e.Picture = Load_Picture_For_Factor(
          e.Path, e.Factor, [&e](const QString& message) { e.Messages << message; }, e.Part);
      // The desk is made compact at once, before the other pictures are decoded beside it.
      if (e.Part && e.Picture) e.Picture = Compact_Desk(std::move(*e.Picture));
    });
  }

  // The picture, told and handed over once; asked for again (by an element of another
  // transparency), it is decoded again, as the loader would have done.
  std::optional<QImage> Take(const QString& path, Frame_Factor factor, const Reporter& report,
                             const Picture_Part& part = {}) {
    for (Entry& e : Entries) {
      if (!Is(e, {path, part, factor}) || e.Taken) continue;
      e.Taken = true;
      if (report)
        for (const QString& message : e.Messages)
          report(message);
      return std::exchange(e.Picture, std::nullopt);
    }
    return Load_Picture_For_Factor(path, factor, report, part);
  }

private:
  struct Entry {
    QString Path;
    Picture_Part Part;
    Frame_Factor Factor;
    std::optional<QImage> Picture;
    QStringList Messages;
    bool Taken = false;
  };
  static bool Is(const Entry& e, const Wanted& w) {
    return e.Path == w.Path && bool(e.Part) == bool(w.Part) && e.Factor == w.Factor;
  }

  std::vector<Entry> Entries;
};

// A picture from the backdrop folder made ready for the scale, or nothing when it is not named,
// not there or unreadable. One too large to enlarge is kept as it is and drawn enlarged. Of a
// picture centred on the screen only what the screen shows is decoded.
std::optional<QImage> Backdrop_Picture(const std::optional<QString>& name, const QString& folder,
                                       const Skin_Environment& env, Decoded_Ahead& ahead,
                                       const Reporter& report, const Picture_Part& part = {}) {
  if (!name) return std::nullopt;
  const QString path = folder + *name;
  if (!Has_Picture_File(path, env.Scale)) return std::nullopt;
  std::optional<QImage> picture = ahead.Take(path, Frame_Factor(env.Scale, Unzoomed), report, part);
  if (picture && Bytes_At_Scale(*picture, env.Scale) <= Max_Skin_Picture_Bytes)
    picture = For_Scale(*picture, env.Scale);
  return picture;
}

// The desk and the logo of full-screen mode, as Config.ini names them.
struct Backdrop_Files {
  QString Folder;
  std::optional<QString> Backdrop, Logo;
  bool Stretch;
  Picture_Part Backdrop_Part;
};

Backdrop_Files Backdrop_Files_Of(const Config_Ini& ini, const Skin_Environment& env) {
  const bool stretch = (ini.Integer(Config::Backdrop_Stretch) & 0xFF) != 0;
  return {ini.Folder(Config::Backdrop_Dir), ini.File_Name(Config::Backdrop_File),
          ini.File_Name(Config::Logo_File), stretch,
          stretch ? Picture_Part() : Centred_On(env.Screen_Size)};
}

bool Offset_Centres(const QString& text) {
  return Config_Ini::To_Integer(text).value_or(0) == 0;
}

// The handheld's zoom in the mode: windowed, the step asked for; in full screen, as large as
// the screen allows where the skin is centred, and as the skin was laid out where it places the
// handheld itself.
int Skin_Zoom(const Config_Ini& ini, QSize skin, const Skin_Environment& env) {
  if (!env.Fullscreen_Mode)
    return env.Available_Size.isValid() ? Shown_Windowed_Zoom(env.Zoom, skin, env.Available_Size)
                                        : Valid_Zoom(env.Zoom);
  const bool centred = Offset_Centres(ini.String(Config::Game_Offset_X)) &&
                       Offset_Centres(ini.String(Config::Game_Offset_Y));
  if (!centred) return Unzoomed;
  // A logo in a corner of the screen is left clear; its header tells its size.
  QSize logo;
  const Backdrop_Files files = Backdrop_Files_Of(ini, env);
  const int corner = ini.Integer(Config::Logo_Position);
  if (files.Logo && corner >= 0 && corner <= 3) {
    const Scaled_File file = Picture_File_For_Scale(files.Folder + *files.Logo, env.Scale);
    const QSize size = QImageReader(file.Path).size();
    if (size.isValid()) logo = size / file.File_Scale;
  }
  return Fullscreen_Zoom(skin, env.Screen_Size, logo);
}

Frame_Layout Layout_For(const Skin_Window& window, QSize skin, int zoom,
                        const Skin_Environment& env) {
  Frame_Layout layout =
      Frame_Layout::Unzoomed_At(env.Scale, QPoint(window.Skin_Offset_X, window.Skin_Offset_Y));
  layout.Skin = Frame_Factor(layout.Scale, zoom);
  if (!env.Fullscreen_Mode) {
    layout.Menu = layout.Skin;
  } else if (zoom != Unzoomed) {
    layout.Skin_Origin =
        Centred(layout.Skin.Device_Size(skin), QRect(QPoint(0, 0), env.Screen_Size * layout.Scale));
    // The menu opens from the screen's corner: as large as the handheld where it fits.
    const int menu = std::min(zoom, Fullscreen_Zoom(Open_Game_Menu_Size, env.Screen_Size));
    layout.Menu = Frame_Factor(layout.Scale, std::max(Unzoomed, menu));
  }
  return layout;
}

void Load_Fullscreen(const Config_Ini& ini, Lcd_Surface& surface, Skin_Window& window,
                     const Skin_Environment& env, Decoded_Ahead& ahead, const Reporter& report) {
  const Backdrop_Files files = Backdrop_Files_Of(ini, env);
  const bool stretch = files.Stretch;
  if (auto picture =
          Backdrop_Picture(files.Backdrop, files.Folder, env, ahead, report, files.Backdrop_Part)) {
    surface.Set_Picture(im_backdrop, Element_Picture(Compact_Desk(std::move(*picture)),
                                                     surface[im_backdrop].Transparent));
    surface.Set_Stretch(im_backdrop, stretch);
    surface.Show(im_backdrop);
  }

  window.Colour = ini.Colour(Config::Bg_Color, report);
  window.Key_Colour_On = false;

  window.Skin_Offset_X = Game_Offset(ini.String(Config::Game_Offset_X), env.Screen_Size.width(),
                                     window.Client_Size.width());
  window.Skin_Offset_Y = Game_Offset(ini.String(Config::Game_Offset_Y), env.Screen_Size.height(),
                                     window.Client_Size.height());

  window.Client_Size = env.Screen_Size;
  surface.Set_Rect(im_backdrop, QRect(QPoint(0, 0), window.Client_Size));

  if (auto picture = Backdrop_Picture(files.Logo, files.Folder, env, ahead, report)) {
    const QImage logo = Element_Picture(*picture, surface[im_backdrop_logo].Transparent);
    surface.Set_Picture(im_backdrop_logo, logo);
    const QSize size = Logical_Size(logo);
    QRect place(surface[im_backdrop_logo].Rect.topLeft(), size);
    surface.Show(im_backdrop_logo);
    const int right = window.Client_Size.width() - size.width();
    const int bottom = window.Client_Size.height() - size.height();
    switch (ini.Integer(Config::Logo_Position)) {
    case 0: place.moveTo(0, 0); break;
    case 1: place.moveTo(right, 0); break;
    case 2: place.moveTo(0, bottom); break;
    case 3: place.moveTo(right, bottom); break;
    default: break; // the logo stays where it was
    }
    surface.Set_Rect(im_backdrop_logo, place);
  }
}

void Load_Windowed(const Config_Ini& ini, Lcd_Surface& surface, Skin_Window& window,
                   const Reporter& report) {
  window.Skin_Offset_X = 0;
  window.Skin_Offset_Y = 0;
  const QColor key = ini.Colour(Config::Transp_Color, report);
  window.Colour = key;
  window.Key_Colour = key;
  window.Key_Colour_On = true;
  // Windowed, the desk is not shown: its pictures are let go of until full screen loads them.
  for (Element_Id id : {im_backdrop, im_backdrop_logo}) {
    surface.Hide(id);
    surface.Set_Picture(id, QImage());
  }
}

// The picture file of each skin element Config.ini names one for, in the elements' order.
std::vector<std::pair<int, QString>> Skin_Files(const Config_Ini& ini, const QString& skin_dir) {
  std::vector<std::pair<int, QString>> files;
  for (int n = 1; n <= Skin_Element_Count; ++n)
    if (const std::optional<QString> name =
            ini.File_Name(QString("Image%1").arg(n), "Filename", ""))
      files.emplace_back(n, skin_dir + *name);
  return files;
}

void Load_Skin_Elements(const Config_Ini& ini, const QString& skin_dir, Lcd_Surface& surface,
                        const Skin_Window& window, const Skin_Environment& env,
                        Decoded_Ahead& ahead, const Reporter& report) {
  // A picture named by several elements is decoded once and shared by them, made ready for the
  // place of the first (elsewhere, at a fractional factor, its edge may be a device pixel off);
  // the twin it was made from is let go of at once. Pictures that would take the skin past its
  // memory allowance are left out, each time one names them.
  std::map<std::pair<QString, bool>, std::optional<QImage>> prepared;
  qsizetype total_bytes = 0;
  const Frame_Factor factor = window.Layout.Skin;
  for (int n = 1; n <= Skin_Element_Count; ++n) {
    const Element_Id id = Skin_Elements[static_cast<std::size_t>(n - 1)];
    const QString section = Config::Image_Section(n);
    const long long height = ini.Integer(section, Config::Image_Height, 0);
    const long long left =
        ini.Integer(section, Config::Image_Left, 0) + static_cast<long long>(window.Skin_Offset_X);
    const long long top =
        ini.Integer(section, Config::Image_Top, 0) + static_cast<long long>(window.Skin_Offset_Y);
    const long long width = ini.Integer(section, Config::Image_Width, 0);
    const QRect rect(Clamp_Position(left), Clamp_Position(top), Clamp_Size(width),
                     Clamp_Size(height));
    // Each picture is made for its place: the rounding of its edges depends on where it lies.
    const QPoint at = window.Layout.Skin_Point(id, rect);
    if (const std::optional<QString> name = ini.File_Name(section, Config::Image_File, "")) {
      const QString path = skin_dir + *name;
      const bool transparent = surface[id].Transparent;
      std::optional<QImage> picture;
      if (const auto known = prepared.find({path, transparent}); known != prepared.end()) {
        picture = known->second;
        if (!picture && report) report(Skin_Too_Large_Message(path));
      } else if (Has_Picture_File(path, factor)) {
        picture = ahead.Take(path, factor, report);
        if (picture) {
          // Keyed before it is enlarged: the bottom-left colour is the same either way.
          picture = Element_Picture(std::move(*picture), transparent);
          const qsizetype bytes = Bytes_At_Factor(*picture, factor);
          if (total_bytes + bytes > env.Picture_Allowance) {
            picture.reset();
            if (report) report(Skin_Too_Large_Message(path));
          } else {
            total_bytes += bytes;
            picture = For_Factor(*picture, factor, at);
          }
          prepared.emplace(std::pair{path, transparent}, picture);
        }
      }
      surface.Set_Picture(
          id, picture.value_or(
                  For_Factor(Element_Picture(Placeholder_Picture(), transparent), factor, at)));
    }
    surface.Set_Rect(id, rect);
  }
}

} // namespace

QString Skin_Too_Large_Message(const QString& path) {
  return Problem_In(path, "left out: the skin's pictures would take too much memory together");
}

std::optional<Config_Ini> Read_Config_Ini(const QString& exe_dir) {
  const QString config_path = QDir(exe_dir).filePath("Config.ini");
  if (!QFileInfo(config_path).isFile()) return std::nullopt;
  return Config_Ini::Load(config_path);
}

Skin_Result gfxinit(Lcd_Surface& surface, const Skin_Window& window, const Skin_Environment& env,
                    Reporter report) {
  return gfxinit(surface, window, env, Read_Config_Ini(env.Exe_Dir), std::move(report));
}

Skin_Result gfxinit(Lcd_Surface& surface, const Skin_Window& window, const Skin_Environment& env,
                    const std::optional<Config_Ini>& ini, Reporter report_to) {
  Skin_Result result{true, window};
  Skin_Window& w = result.Window;
  const Reporter report = Or_Standard_Error(std::move(report_to));

  if (ini) {
    const QString skin_dir = ini->Folder(Config::Skin_Dir);
    const QSize built_in = Default_Client_Size();
    w.Client_Size = QSize(Clamp_Size(ini->Integer(Config::Game_Width.Section,
                                                  Config::Game_Width.Key, built_in.width())),
                          Clamp_Size(ini->Integer(Config::Game_Height.Section,
                                                  Config::Game_Height.Key, built_in.height())));
    const QSize skin = w.Client_Size;
    const int zoom = Skin_Zoom(*ini, skin, env);
    const Frame_Factor desk(env.Scale, Unzoomed);
    const Frame_Factor factor(env.Scale, zoom);
    // Every picture the mode shows is decoded side by side first, the desk's largest first.
    std::vector<Decoded_Ahead::Wanted> wanted;
    if (env.Fullscreen_Mode) {
      const Backdrop_Files files = Backdrop_Files_Of(*ini, env);
      if (files.Backdrop && Has_Picture_File(files.Folder + *files.Backdrop, env.Scale))
        wanted.push_back({files.Folder + *files.Backdrop, files.Backdrop_Part, desk});
      if (files.Logo && Has_Picture_File(files.Folder + *files.Logo, env.Scale))
        wanted.push_back({files.Folder + *files.Logo, {}, desk});
    }
    for (auto& [n, path] : Skin_Files(*ini, skin_dir))
      if (Has_Picture_File(path, factor)) wanted.push_back({path, {}, factor});
    Decoded_Ahead ahead(std::move(wanted), env.Picture_Allowance);
    if (env.Fullscreen_Mode) {
      Load_Fullscreen(*ini, surface, w, env, ahead, report);
    } else {
      Load_Windowed(*ini, surface, w, report);
      w.Client_Size = skin * zoom / Unzoomed;
    }
    w.Layout = Layout_For(w, skin, zoom, env);
    w.Skin_Size = skin;
    w.Zoom = zoom;
    Load_Skin_Elements(*ini, skin_dir, surface, w, env, ahead, report);
  } else {
    result.Config_Found = false;
    w.Layout = Frame_Layout::Unzoomed_At(env.Scale);
  }

  // The in-game menu exists in full-screen mode only, closed.
  surface.Set_Shown(btn_game_menu_top, env.Fullscreen_Mode);
  surface.Set_Shown(btn_game_menu_background, env.Fullscreen_Mode);
  surface.Set_Rect(btn_game_menu_background, QRect(surface[btn_game_menu_background].Rect.topLeft(),
                                                   Closed_Game_Menu_Size()));
  if (!result.Config_Found) report(QString::fromLatin1(Config_Missing_Message));
  return result;
}

QImage Element_Picture(QImage picture, bool transparent) {
  if (!transparent || picture.isNull()) return picture;
  if (picture.hasAlphaChannel())
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QRgb key = picture.pixel(0, picture.height() - 1) | 0xFF000000u;
  QImage keyed = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    std::replace(line, line + keyed.width(), key, QRgb(0));
  }
  return keyed;
}
