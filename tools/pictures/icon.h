// The desktop icon: the title's night, its moon and the first character of its title,
// drawn square for the sizes a desktop asks for.
#pragma once
#include "tools/pictures/bmp_writer.h"

namespace art {

// The icon at side x side pixels: drawn four times as large and averaged down, with the
// character's strokes thickened more the smaller the icon, so that it still reads.
Image Icon(int side);

}  // namespace art
