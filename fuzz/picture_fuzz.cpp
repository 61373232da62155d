// Picture files as the skin loader meets them: the first input byte chooses the file-name
// extension (so PNG bytes arrive as ".bmp" and truncated pictures of every kind are tried),
// the second whether the element is see-through; the rest is the file.
#include "assets/picture_file.h"
#include "display/gfxinit.h"
#include "fuzz_support.h"

#include <array>

namespace {

constexpr std::array Extensions{"png", "bmp", "jpg", "jpeg", "ico", "PNG", "Bmp", "JPG", "txt"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Fuzz::Start_Application();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const QString path =
      Fuzz::Scratch_Folder() + "picture." + Extensions[data[0] % Extensions.size()];
  const bool transparent = data[1] & 1;
  if (!Fuzz::Write_File(path, data + 2, size - 2)) return 0;

  const Reporter report = [](const QString& message) { (void)message.size(); };
  const std::optional<QImage> picture = Load_Picture(path, report);
  if (!picture) return 0;
  if (picture->width() > Max_Picture_Side || picture->height() > Max_Picture_Side) __builtin_trap();
  const QImage element = Element_Picture(*picture, transparent);
  if (element.size() != picture->size()) __builtin_trap();
  return 0;
}
